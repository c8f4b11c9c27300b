// vacrun: runs a debugging data file on the emulator from commands read on
// standard input, for tests and by hand. It stands in for the debugger
// window: forced signals are input rows with a check mark. Text is UTF-8 on
// both sides; signal names are matched without regard to letter case.
//
//   vacrun DATAFILE < commands
//
// Commands, one a line: set NAME 0|1, force NAME 0|1, scan, tick, run N,
// get NAME..., dump, ask TEXT, say TEXT, quit. See docs/testing.md.
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "debugger/Vac.h"
#include "platform/UiPort.h"

namespace {

class CommandHost : public IEmulatorHost {
public:
    struct Row {
        int Addr, Bit;
        bool Checked;
    };
    std::vector<Row> Rows;
    std::vector<AnsiString> Messages;

    void ReadInputs(TVAC& vac) override {
        for (const Row& r : Rows) vac.SetBit(r.Addr, r.Bit, r.Checked);
    }
    void ShowOutputs(TVAC&) override {}
    bool InputChecked(int row) override { return row >= 0 && row < int(Rows.size()) && Rows[std::size_t(row)].Checked; }
    bool IsDebuggerVisible() override { return false; }
    void ShowRunCount(int) override {}
    void ShowTickCount(int) override {}
    void Message(const AnsiString& text) override {
        Messages.push_back(text);
        if (printMessages) std::cerr << "message: " << AnsiToUtf8(text) << "\n";
    }
    bool printMessages = false;
};

void Error(const std::string& text) { std::cerr << "error: " << text << "\n"; }

// The signal record of a line "name=index" of the signal-index list.
const SignalsStr* SignalOfLine(const TVAC& vac, int line) {
    const AnsiString text = vac.SignalIndex()[line];
    const int index = text.SubString(text.Pos("=") + 1, text.Length()).ToIntDef(-1);
    if (index < 0 || index >= int(vac.Signals().size())) return nullptr;
    return &vac.Signals()[std::size_t(index)];
}

// The signal record of a name, or null.
const SignalsStr* Find(const TVAC& vac, const std::string& utf8) {
    const int line = vac.SignalIndex().IndexOfName(Utf8ToAnsi(utf8));
    return line < 0 ? nullptr : SignalOfLine(vac, line);
}

bool ParseBit(const std::string& s, int& v) {
    if (s != "0" && s != "1") return false;
    v = s[0] - '0';
    return true;
}

void Print(const TVAC& vac, const SignalsStr& s) {
    std::cout << AnsiToUtf8(s.Name) << "=" << (vac.GetBit(s.ByteAddress, s.Bit) ? 1 : 0) << "\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: vacrun DATAFILE < commands\n";
        return 2;
    }
    CommandHost host;
    TVAC vac(&host);
    vac.FileName = Utf8ToAnsi(argv[1]);
    const int rc = vac.Load();
    if (rc != kLoadOk) {
        std::cerr << "vacrun: load result " << rc;
        for (const AnsiString& m : host.Messages) std::cerr << ": " << AnsiToUtf8(m);
        std::cerr << "\n";
        return 1;
    }
    host.printMessages = true;
    std::vector<std::string> forcedNames; // the row of each forced signal
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string cmd;
        if (!(in >> cmd)) continue;
        std::vector<std::string> args;
        for (std::string a; in >> a;) args.push_back(a);
        if (cmd == "quit") break;
        if (cmd == "scan" && args.empty()) {
            vac.Run();
        } else if (cmd == "tick" && args.empty()) {
            vac.Tick();
        } else if (cmd == "run" && args.size() == 1) {
            int n = Utf8ToAnsi(args[0]).ToIntDef(-1);
            if (n < 0) {
                Error("bad count: " + args[0]);
                continue;
            }
            for (int i = 0; i < n; ++i) {
                vac.Tick();
                vac.Run();
            }
        } else if ((cmd == "set" || cmd == "force") && args.size() == 2) {
            const SignalsStr* s = Find(vac, args[0]);
            int v = 0;
            if (!s) {
                Error("unknown signal: " + args[0]);
            } else if (!ParseBit(args[1], v)) {
                Error("bad value: " + args[1]);
            } else if (cmd == "set") {
                vac.SetBit(s->ByteAddress, s->Bit, v);
            } else {
                std::size_t row = 0;
                while (row < forcedNames.size() && !SameText(Utf8ToAnsi(forcedNames[row]), s->Name)) ++row;
                if (row == forcedNames.size()) {
                    forcedNames.push_back(AnsiToUtf8(s->Name));
                    host.Rows.push_back({s->ByteAddress, s->Bit, v != 0});
                    vac.AddForcedInput(s->ByteAddress, s->Bit, int(row));
                }
                host.Rows[row].Checked = v != 0;
            }
        } else if (cmd == "get" && !args.empty()) {
            for (const std::string& name : args) {
                if (const SignalsStr* s = Find(vac, name)) Print(vac, *s);
                else Error("unknown signal: " + name);
            }
        } else if ((cmd == "ask" || cmd == "say") && !args.empty()) {
            // The message boxes of a program without windows: no port is
            // installed here, so the text goes to standard error.
            const AnsiString text = Utf8ToAnsi(line.substr(line.find(cmd) + cmd.size() + 1));
            if (cmd == "say") {
                ShowMessage(text);
            } else {
                const int answer = MessageDlg(text, mtConfirmation, mbYesNo);
                std::cout << "answer=" << (answer == mrYes ? "yes" : answer == mrNo ? "no" : "other") << "\n";
            }
        } else if (cmd == "dump" && args.empty()) {
            for (int i = 0; i < vac.SignalIndex().Count(); ++i)
                if (const SignalsStr* s = SignalOfLine(vac, i)) Print(vac, *s);
        } else {
            Error("unknown command: " + line);
        }
        std::cout.flush();
    }
    return 0;
}
