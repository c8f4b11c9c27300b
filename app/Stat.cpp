#include "app/Stat.h"

#include <array>

#include "document/Project.h"

TfmStat* fmStat = nullptr;

TfmStat::TfmStat(TComponent* owner) : TForm(owner) {
    SetName("fmStat");
    SetCaption("Статистика проекта"_a);
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(364);
    SetClientHeight(196);
    StringGrid1 = NewControl<TStringGrid>(this, this, "StringGrid1");
    StringGrid1->SetColCount(2);
    StringGrid1->SetRowCount(6);
    StringGrid1->SetFixedCols(0);
    StringGrid1->SetFixedRows(0);
    StringGrid1->SetColWidths(0, 281);
    StringGrid1->SetColWidths(1, 71);
    StringGrid1->SetDefaultRowHeight(24);
    StringGrid1->ScrollBars = 0;
    StringGrid1->SetBounds(4, 4, 356, 152);
    BitBtn1 = NewControl<TBitBtn>(this, this, "BitBtn1");
    BitBtn1->SetKind(bkOK);
    BitBtn1->SetBounds(144, 164, 75, 25);
    OnShow = [this](TObject* s) { FormShow(s); };
}

TfmStat::~TfmStat() {
    if (fmStat == this) fmStat = nullptr;
}

void TfmStat::FormShow(TObject*) {
    static const std::array<const char*, 6> captions{{
        " Количество входных сигналов",
        " Количество выходных сигналов ",
        " Количество переходных сигналов ",
        " Количество временных сигналов  ",
        " Количество элементов           ",
        " Количество таймеров  ",
    }};
    for (int i = 0; i < int(captions.size()); ++i) {
        StringGrid1->SetCells(0, i, Utf8ToAnsi(captions[std::size_t(i)]));
        StringGrid1->SetCells(1, i, Project ? IntToStr(Project->Statistics[i]) : AnsiString());
    }
}
