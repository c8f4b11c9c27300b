#include "platform/testing/TestPrinter.h"

#include "platform/Canvas.h"

TSize TestPrinterBackend::PageSize(TPrinterOrientation o) const {
    return o == poLandscape ? TSize(portrait_.cy, portrait_.cx) : portrait_;
}

void TestPrinterBackend::BeginDoc(const AnsiString& title, TPrinterOrientation o) {
    Document d;
    d.title = title;
    d.orientation = o;
    Documents.push_back(std::move(d));
}

void TestPrinterBackend::EndPage(const QImage& page) {
    if (!Documents.empty()) Documents.back().pages.push_back(page.copy());
}

void TestPrinterBackend::EndDoc() {
    if (!Documents.empty()) Documents.back().finished = true;
}

void TestPrinterBackend::Abort() {
    if (!Documents.empty()) Documents.back().aborted = true;
}

void TestPrinterBackend::TextDrawn(const TCanvasText& t) {
    if (Documents.empty()) return;
    Document& d = Documents.back();
    d.texts.push_back(Text{int(d.pages.size()), t.Box, t.Text, t.FontHeight});
}
