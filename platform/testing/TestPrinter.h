#pragma once
// The printer backend that tests install in place of the Qt one
// (Printer()->SetBackend(std::make_unique<TestPrinterBackend>())): it prints
// nothing and keeps each document's pages and texts for the test to inspect.

#include <vector>

#include <QImage>

#include "platform/gui/Dialogs.h"

// Keeps every page as an image and every piece of text drawn.
class TestPrinterBackend : public IPrinterBackend {
public:
    explicit TestPrinterBackend(int dpi = 72, TSize portrait = TSize(595, 842)) : dpi_(dpi), portrait_(portrait) {}
    int PixelsPerInch() const override { return dpi_; }
    TSize PageSize(TPrinterOrientation o) const override;
    void BeginDoc(const AnsiString& title, TPrinterOrientation o) override;
    void EndPage(const QImage& page) override;
    void EndDoc() override;
    void Abort() override;
    void TextDrawn(const TCanvasText& t) override;

    struct Text {
        int page;     // 0-based page of the document
        TRect box;
        AnsiString text;
        int fontHeight;
    };
    struct Document {
        AnsiString title;
        TPrinterOrientation orientation = poPortrait;
        std::vector<QImage> pages;
        std::vector<Text> texts;
        bool aborted = false;
        bool finished = false;
    };
    std::vector<Document> Documents;

private:
    int dpi_;
    TSize portrait_;
};
