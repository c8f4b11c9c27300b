// The question asked when an internal signal is put into the debugger.
#include <QTimer>

#include "DebuggerUiTest.h"

namespace dbgui {
namespace {

class SignalQuestion : public DebuggerTest {};

TEST_F(SignalQuestion, KeepsItsLastChoice) {
    EXPECT_EQ(fmIO->rgIO->Caption(), "Добавить внутренний сигнал как:"_a);
    EXPECT_EQ(fmIO->rgIO->Items()->Get(0), "входной"_a);
    EXPECT_EQ(fmIO->rgIO->Items()->Get(1), "выходной"_a);
    const struct {
        const char* name;
        int choose; // -1: leave as it is
        bool ok;
        int expected, shownFirst;
    } cases[] = {{"Stop", -1, true, 0, 0}, {"Go", 1, true, 1, 0}, {"Next", -1, true, 1, 1}, {"Gone", 0, false, -1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AnsiString caption;
        int shown = -2;
        Application->OnModalStart = [&](TForm* f) {
            QTimer::singleShot(0, [&, f] {
                caption = f->Caption();
                shown = fmIO->rgIO->ItemIndex();
                if (c.choose >= 0) fmIO->rgIO->SetItemIndex(c.choose);
                if (c.ok) fmIO->BitBtn1->Click();
                else f->Close();
            });
        };
        EXPECT_EQ(fmIO->Ask(c.name), c.expected);
        EXPECT_EQ(caption, c.name);
        EXPECT_EQ(shown, c.shownFirst);
    }
}

} // namespace
} // namespace dbgui
