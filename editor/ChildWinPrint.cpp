// The scheme window's printing: the scheme drawn on any canvas (printer
// page, bitmap, preview), the element list on the printer, and the picture
// export as a black-and-white bitmap file.
#include "document/Scheme.h"
#include "editor/ChildWin.h"
#include "editor/qrprint.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/FileIO.h"
#include "platform/FileNames.h"
#include "platform/List.h"
#include "platform/UiPort.h"

namespace {

// The text whose height spaces the rows of the list.
const char* const kRowProbe = "Hi there!";

} // namespace

void TMDIChild::PrintSchemActionExecute(TObject* Sender) { PrintSchemeTo(dynamic_cast<TCanvas*>(Sender)); }

void TMDIChild::PrintSchemeTo(TCanvas* canvas, int zoom) {
    if (!canvas || !Scheme) return;
    canvas->Brush()->SetColor(clWhite);
    canvas->Pen()->SetColor(clBlack);
    Scheme->DrawTo(canvas, true, zoom);
    canvas->Font()->SetColor(clBlack);
    // The file name grows with the drawing: its letters are sized in points.
    const int ppi = canvas->PixelsPerInch();
    canvas->SetPixelsPerInch(ppi * zoom / 100);
    canvas->TextOut(10 * zoom / 100, 10 * zoom / 100, Scheme->GetFileName());
    canvas->SetPixelsPerInch(ppi);
}

void TMDIChild::PrintListHeader(TPrinter* printer, int& y, int c) {
    TCanvas* canvas = printer->Canvas();
    canvas->Font()->SetSize(14);
    y = canvas->TextHeight(kRowProbe) + 10;
    canvas->TextOut(20, y, "Елементы"_a);
    y += 10;
    canvas->Font()->SetSize(12);
    y += canvas->TextHeight(kRowProbe);
    canvas->TextOut(c, y, "Имя"_a);
    canvas->TextOut(2 * c, y, "Тип"_a);
    canvas->TextOut(3 * c, y, "Инв."_a);
    canvas->TextOut(4 * c, y, "Имя выв."_a);
    canvas->TextOut(5 * c, y, "Имя дрв."_a);
    canvas->TextOut(6 * c, y, "Бит"_a);
}

TDriver* TMDIChild::PinNetDriver(TInOut* pin, bool& joined) {
    TList net;
    TInOut::CollectNetPins(pin, &net);
    joined = net.Count() > 0;
    // The last driver pin found counts (a connector is one).
    TDriver* driver = nullptr;
    for (int j = 0; j < net.Count(); ++j) {
        auto* other = static_cast<TInOut*>(net.Items(j));
        if (other->Element()->IsDriver()) driver = static_cast<TDriver*>(other->Element());
    }
    return driver;
}

namespace {

void NewListPage(TPrinter* printer, int& y, int c) {
    y = 0;
    printer->NewPage();
    TMDIChild::PrintListHeader(printer, y, c);
}

} // namespace

void TMDIChild::PrintDevice(TPrinter* printer, int& y, int c, TElement* d) {
    TCanvas* canvas = printer->Canvas();
    if (printer->PageHeight() - 20 < y) NewListPage(printer, y, c);
    canvas->Font()->SetSize(12);
    y += canvas->TextHeight(kRowProbe);
    canvas->TextOut(40, y, d->Name());
    canvas->TextOut(2 * c + 30, y, d->Label());
    canvas->Font()->SetSize(10);
    const int row = canvas->TextHeight(kRowProbe);
    y += row;
    for (int i = 0; i < d->PinCount(); ++i) {
        // A device longer than the page goes on over the next one: a pin row
        // that would pass the page's bottom starts a new page with the header.
        if (y + row > printer->PageHeight()) {
            NewListPage(printer, y, c);
            // Below the header's row, in the header's size.
            y += canvas->TextHeight(kRowProbe);
            canvas->Font()->SetSize(10);
        }
        TInOut* pin = d->Pin(i);
        canvas->TextOut(c, y, pin->Name());
        canvas->TextOut(2 * c, y, pin->Direction() == 0 ? "Вход"_a : "Выход"_a);
        canvas->TextOut(3 * c, y, pin->Inverse() ? "Да"_a : "Нет"_a);
        bool joined = false;
        if (TDriver* driver = PinNetDriver(pin, joined)) {
            canvas->TextOut(4 * c, y, driver->Name());
            canvas->TextOut(5 * c, y, driver->Label());
            canvas->TextOut(6 * c, y, IntToStr(driver->GetBitNumber()));
        } else if (!joined) {
            for (int col = 4; col <= 6; ++col) canvas->TextOut(col * c, y, "Нет"_a);
        }
        y += row;
    }
}

void TMDIChild::PrintInfoActionExecute(TObject* Sender) {
    auto* printer = dynamic_cast<TPrinter*>(Sender);
    if (!printer || !Scheme) return;
    int y = 0;
    const int c = printer->PageWidth() / 7;
    PrintListHeader(printer, y, c);
    for (TElement* d = Scheme->FirstDevice(); d; d = Scheme->NextDevice()) PrintDevice(printer, y, c, d);
}

void TMDIChild::PrintElements() { PrintInfoActionExecute(Printer()); }

void TMDIChild::PrintToFileActionExecute(TObject*) {
    SavePictureDialog->FileName = ChangeFileExt(Scheme->GetName(), ".bmp");
    // The dialog gives back the bitmap's name, having asked about that file.
    if (!SavePictureDialog->Execute()) return;
    const AnsiString name = SavePictureDialog->FileName;
    int maxX = 0, maxY = 0;
    Scheme->GetExtent(maxX, maxY);
    TBitmap picture;
    TwoColourPicture(picture, maxX + 40, maxY + 20, [this](TCanvas* c) { PrintSchemActionExecute(c); });
    try {
        picture.SaveToFile(name);
    } catch (const EFCreateError&) {
        ShowMessage(CannotCreateFileText(name));
    }
}
