// Random netlists: every block kind with random pins, nets, tables, timers,
// jumps and state machines. The emulator's reader and checker accept what the
// library writes, and its decoded records name exactly the bits the nets were
// given; random gate networks compute on the emulator what they compute here.
#include <map>
#include <random>

#include "TranslateTestSupport.h"
#include "debugger/ElementCode.h"
#include "debugger/Vac.h"

namespace {

using namespace trtest;

struct Net {
    AnsiString Name;
    uint16_t Operand; // its bit, not inverted
    bool InputDriver = false;
};

struct ExpectedRecord {
    int Type = 0;
    std::vector<uint16_t> In, Out;
    int Timer = -1;       // counter index
    uint32_t Preset = 0;
    int JumpTarget = -1;  // block index
};

// Builds a random project's work files and what each record must hold.
class RandomNetlist {
public:
    explicit RandomNetlist(unsigned seed) : rng_(seed) {}

    Work work;
    std::vector<ExpectedRecord> expected;
    int timers = 0;

    void Build() {
        Drivers();
        Internals();
        const int blocks = Pick(1, 40);
        for (int b = 0; b < blocks; ++b) names_.push_back("E" + IntToStr(b) + (Pick(0, 3) == 0 ? "ж"_a : AnsiString()));
        for (int b = 0; b < blocks; ++b) Block(b);
    }

private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Coin(int oneIn) { return Pick(1, oneIn) == 1; }
    // A name as a pin may spell it: names match ignoring letter case.
    AnsiString Spell(const AnsiString& name) { return Coin(4) ? AnsiLowerCase(name) : name; }

    void Drivers() {
        work.Types = {"ТИП1"_a + " 3", "T2 -7"};
        int first = 0;
        const int count = Pick(0, 6);
        for (int d = 0; d < count; ++d) {
            const bool output = Coin(2);
            const int bits = Pick(0, 40);
            const AnsiString name = "D" + IntToStr(d);
            work.Drivers.push_back(name + (output ? " out " : " in ") + (Coin(2) ? "ТИП1"_a : AnsiString("T2")) +
                                   " 0000" + IntToHex(d, 4) + " " + IntToStr(bits) + " 0");
            for (int b = 0; b < bits; ++b)
                if (Coin(2)) {
                    const AnsiString s = name + "_" + IntToStr(b);
                    work.Signals.push_back(DriverPin(s, Coin(3) ? AnsiLowerCase(name) : name, b));
                    if (Coin(3)) work.Comments.push_back(IntToStr(b) + ";" + s + ";" + name + ";комментарий "_a + s);
                    nets_.push_back({s, Op(first + b / 8, b % 8), !output});
                }
            first += (bits + 7) / 8;
        }
    }

    void Internals() {
        int bit = 2; // after the two null pins
        const int count = Pick(0, 30);
        for (int k = 0; k < count; ++k) {
            const AnsiString s = Coin(2) ? "_var" + IntToStr(k) : "Связь"_a + IntToStr(k);
            work.Signals.push_back(Coin(2) ? Connector(s) : s);
            nets_.push_back({s, Op(3072 + bit / 8, bit % 8)});
            ++bit;
        }
        ownBit_ = bit;
    }

    // A pin on a random net or unconnected; returns its operand.
    uint16_t PinTo(std::vector<AnsiString>& lines, bool output) {
        const bool inverted = Coin(3);
        if (nets_.empty() || Coin(6)) {
            // The word "inverse" on a null pin means it is not inverted.
            lines.push_back(Pin(output ? "_null_out_" : "_null_in_", output, !inverted));
            if (output && countsInOutputs_) { // a counter's open output gets a bit of its own after the signals
                const int bit = ownBit_++;
                return Op(3072 + bit / 8, bit % 8, inverted);
            }
            return Op(3072, output ? 1 : 0, inverted);
        }
        const Net& n = nets_[std::size_t(Pick(0, int(nets_.size()) - 1))];
        lines.push_back(Pin(Spell(n.Name), output, inverted));
        return uint16_t(n.Operand | (inverted ? 0x8000 : 0));
    }
    // Element pin lists mix the directions (and: the output first; predtimer:
    // In, Reset, Out, then the factors): inputs keep their order and outputs
    // theirs, interleaved at random.
    void Pins(std::vector<AnsiString>& lines, ExpectedRecord& r, int inputs, int outputs) {
        std::vector<AnsiString> in, out;
        for (int k = 0; k < inputs; ++k) r.In.push_back(PinTo(in, false));
        for (int k = 0; k < outputs; ++k) r.Out.push_back(PinTo(out, true));
        std::size_t i = 0, o = 0;
        while (i < in.size() || o < out.size())
            lines.push_back(o == out.size() || (i < in.size() && Coin(2)) ? in[i++] : out[o++]);
    }
    AnsiString Bits(int n, bool x) {
        AnsiString s;
        for (int k = 0; k < n; ++k) s += x && Coin(3) ? 'X' : char('0' + Pick(0, 1));
        return s;
    }
    // The transition-table text as state machines write it.
    void Table(std::vector<AnsiString>& lines, int n, int m) {
        auto pad = [](AnsiString s, char c) {
            const int r = s.Length() % 8;
            return r ? AnsiString::StringOfChar(c, 8 - r) + s : s;
        };
        auto item = [&](int target) {
            const AnsiString cond = Bits(n, true);
            AnsiString mask = cond;
            for (int k = 1; k <= mask.Length(); ++k) mask[k] = mask[k] == 'X' ? '1' : '0';
            return pad(StringReplaceAll(cond, "X", "0"), '0') + "-" + pad(mask, '1') + "=" + Target(target) + ";";
        };
        const int states = Pick(1, 5);
        std::vector<int> k;
        int total = 0;
        for (int s = 0; s < states; ++s) total += k.emplace_back(Pick(0, 7));
        lines.push_back("%~" + IntToStr(states) + " " + IntToStr(total) + " ");
        lines.push_back("%%" + item(Pick(1, states)));
        lines.push_back(Coin(2) ? "%%" + item(Pick(1, states))
                                : "%%" + AnsiString::StringOfChar('0', (n + 7) / 8 * 8) + "-" +
                                      AnsiString::StringOfChar('1', (n + 7) / 8 * 8) + "=00000000;");
        for (int s = 0; s < states; ++s) {
            lines.push_back("%~" + IntToStr(k[std::size_t(s)]) + " ");
            AnsiString row = "%%" + pad(Bits(m, true), '0') + ";";
            for (int t = 0; t < k[std::size_t(s)]; ++t) {
                const AnsiString it = item(Pick(0, states));
                if (row.Length() + it.Length() >= 120) {
                    lines.push_back(row);
                    row = "%%" + it;
                } else {
                    row += it;
                }
            }
            lines.push_back(row);
        }
    }
    static AnsiString Target(int t) {
        AnsiString s;
        for (int b = 7; b >= 0; --b) s += (t >> b & 1) ? '1' : '0';
        return s;
    }
    void Block(int index) {
        static const char* const kKinds[] = {"and", "or", "trigger", "timer", "dtrigger", "cnt", "dcd", "drstrigger",
                                             "d8trigger", "d8rscnt", "cbyte", "xor", "predtimer", "cdec", "rcnt",
                                             "ifgoto", "cdec16", "cMask", "cDiap", "commut", "fsm", "filter"};
        static const int kTypes[] = {0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
        int pick = Pick(0, 21);
        if (kTypes[pick] == 16 && index + 1 == int(names_.size())) pick = 0; // a jump needs a later block
        const int type = kTypes[pick];
        ExpectedRecord r;
        r.Type = type;
        countsInOutputs_ = type == 6 || type == 10 || type == 15;
        std::vector<AnsiString> lines = {names_[std::size_t(index)] + " " + kKinds[pick] + (type == 12 ? " " : "")};
        auto table = [&](int pairs) {
            for (int k = 0; k < pairs; ++k) lines.push_back("%%" + IntToStr(Pick(0, 65535)) + " " + IntToStr(Pick(0, 65535)));
        };
        switch (type) {
        case 0: case 1: case 7: case 12: Pins(lines, r, Pick(type == 0 ? 0 : 1, 6), Pick(1, 4)); break;
        case 2: case 5: case 6: Pins(lines, r, 2, Pick(0, 3)); break;
        case 15: Pins(lines, r, 3, Pick(1, 3)); break;
        case 8: Pins(lines, r, 4, Pick(1, 2)); break;
        case 9: Pins(lines, r, 10, 8); break;
        case 10: Pins(lines, r, 11, 8); break;
        case 11: Pins(lines, r, 16, 3); break;
        case 3: case 13: {
            r.Preset = uint32_t(Pick(0, 1048575));
            r.Timer = timers++;
            lines[0] += " " + IntToStr(r.Preset);
            Pins(lines, r, type == 3 ? 2 : 2 + Pick(0, 4), 1);
            break;
        }
        case 14: case 17: case 18: case 19: {
            if (type == 18)
                for (int k = Pick(0, 4); k > 0; --k)
                    lines.push_back("%%" + IntToStr(Pick(0, 65535)) + " " + IntToStr(Pick(0, 65535)) + " " +
                                    IntToStr(Pick(0, 65535)));
            table(Pick(0, 6));
            if (type != 19) lines.push_back("%%* " + IntToStr(Pick(0, 65535)));
            Pins(lines, r, type == 14 ? 8 : 16, Pick(1, 16));
            break;
        }
        case 16: {
            r.JumpTarget = Pick(index + 1, int(names_.size()) - 1);
            // the first later block of that name
            for (int k = index + 1; k < r.JumpTarget; ++k)
                if (SameText(names_[std::size_t(k)], names_[std::size_t(r.JumpTarget)])) r.JumpTarget = k;
            lines[0] += " схема.tvs "_a + Spell(names_[std::size_t(r.JumpTarget)]);
            Pins(lines, r, 1, 0);
            break;
        }
        case 20: {
            const int m = Pick(1, 4);
            Pins(lines, r, 2 * m + 1, m);
            break;
        }
        case 21: {
            const int n = Pick(0, 12), m = Pick(1, 10);
            Pins(lines, r, n, m);
            Table(lines, n, m);
            break;
        }
        case 22: Pins(lines, r, Pick(1, 6), Pick(1, 5)); break;
        }
        work.Block(lines);
        expected.push_back(r);
    }

    std::mt19937 rng_;
    std::vector<Net> nets_;
    std::vector<AnsiString> names_;
    int ownBit_ = 2;               // the next internal bit after the signals
    bool countsInOutputs_ = false; // the block being built is a counter
};

std::vector<uint16_t> Words(const emu::TElementCode& code, uint32_t first, uint32_t count) {
    std::vector<uint16_t> v;
    for (uint32_t k = 0; k < count; ++k) {
        const emu::Operand& o = code.Ops[first + k];
        v.push_back(uint16_t(o.Addr | o.Bit << 12 | o.Inv << 15));
    }
    return v;
}

TEST_F(TranslateTest, RandomNetlistsGiveFilesTheEmulatorAccepts) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE(seed);
        RandomNetlist net(seed);
        net.Build();
        work = net.work;
        ASSERT_EQ(Generate(seed % 2), kTranslateOk) << AnsiToUtf8(Log().empty() ? AnsiString() : Log()[0]);
        EXPECT_EQ(_ConvertDatFile(DataPath().c_str()), kConvertOk);
        const DebugDataFile f = Parsed();
        EXPECT_EQ(f.HasNames, seed % 2 == 0);
        ASSERT_EQ(f.Header.RecordCount, net.expected.size());
        EXPECT_EQ(f.Header.TimerCount, net.timers);
        emu::TElementCode code;
        AnsiString problem;
        ASSERT_TRUE(code.Decode(f.Code, f.Header.RecordCount, f.Header.TimerCount, problem)) << AnsiToUtf8(problem);
        for (std::size_t i = 0; i < net.expected.size(); ++i) {
            SCOPED_TRACE(i);
            const ExpectedRecord& e = net.expected[i];
            const emu::Record& r = code.Records[i];
            EXPECT_EQ(r.Type, e.Type);
            EXPECT_EQ(Words(code, r.In, r.InCount), e.In);
            EXPECT_EQ(Words(code, r.Out, r.OutCount), e.Out);
            if (e.Timer >= 0) {
                EXPECT_EQ(r.Param, e.Preset | uint32_t(e.Timer) << 20);
            }
            if (e.JumpTarget >= 0) {
                EXPECT_EQ(r.Param, uint32_t(e.JumpTarget));
            }
        }
    }
}

// Gate networks over the input driver's bits and connectors: one scan on the
// emulator computes, bit for bit, what evaluating the blocks in order does.
TEST_F(TranslateTest, RandomGateNetworksComputeAsDrawn) {
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        work = Work::Standard();
        struct Gate {
            int Kind; // 0 and, 1 or, 2 xor, 3 dcd
            std::vector<std::pair<AnsiString, bool>> In, Out;
        };
        std::vector<AnsiString> nets;
        for (int k = 0; k < 8; ++k) nets.push_back("I" + IntToStr(k));
        for (int k = 1; k <= 8; ++k) nets.push_back("N" + IntToStr(k));
        for (int k = 0; k < 8; ++k) nets.push_back("Q" + IntToStr(k));
        nets.push_back("_null_in_");
        std::vector<Gate> gates(std::size_t(pick(1, 25)));
        static const char* const kHeaders[] = {" and", " or", " xor ", " dcd"};
        for (std::size_t g = 0; g < gates.size(); ++g) {
            Gate& gate = gates[g];
            gate.Kind = pick(0, 3);
            for (int k = pick(gate.Kind == 0 ? 0 : 1, gate.Kind == 3 ? 3 : 5); k > 0; --k)
                gate.In.push_back({nets[std::size_t(pick(0, int(nets.size()) - 1))], pick(0, 2) == 0});
            for (int k = pick(1, gate.Kind == 3 ? 4 : 2); k > 0; --k)
                gate.Out.push_back({pick(0, 6) == 0 ? AnsiString("_null_out_") : nets[std::size_t(pick(8, 23))],
                                    pick(0, 3) == 0});
            std::vector<AnsiString> lines = {"G" + IntToStr(int(g)) + kHeaders[gate.Kind]};
            for (const auto& [n, inv] : gate.Out) lines.push_back(Out(n, n == "_null_out_" ? !inv : inv));
            for (const auto& [n, inv] : gate.In) lines.push_back(In(n, n == "_null_in_" ? !inv : inv));
            work.Block(lines);
        }
        ASSERT_EQ(Generate(), kTranslateOk);
        TVAC vac;
        vac.FileName = DataPath();
        ASSERT_EQ(vac.Load(), kLoadOk);
        std::map<AnsiString, int> value;
        auto where = [](const AnsiString& n) {
            if (n[1] == 'I') return std::pair{0, n.SubString(2, 9).ToInt()};
            if (n[1] == 'Q') return std::pair{2, n.SubString(2, 9).ToInt()};
            const int bit = 2 + n.SubString(2, 9).ToInt() - 1;
            return std::pair{3072 + bit / 8, bit % 8};
        };
        for (int scan = 0; scan < 6; ++scan) {
            for (int k = 0; k < 8; ++k) {
                value["I" + IntToStr(k)] = pick(0, 1);
                vac.SetBit(0, k, value["I" + IntToStr(k)]);
            }
            vac.Run();
            for (const Gate& gate : gates) {
                std::vector<int> in;
                for (const auto& [n, inv] : gate.In) in.push_back((n == "_null_in_" ? 0 : value[n]) ^ int(inv));
                int ones = 0, number = 0;
                for (std::size_t k = 0; k < in.size(); ++k) {
                    ones += in[k];
                    number |= in[k] << k;
                }
                for (std::size_t j = 0; j < gate.Out.size(); ++j) {
                    const int v = gate.Kind == 0 ? ones == int(in.size()) : gate.Kind == 1 ? ones > 0
                                  : gate.Kind == 2 ? ones == 1 : int(j) == number;
                    if (gate.Out[j].first != "_null_out_") value[gate.Out[j].first] = v ^ int(gate.Out[j].second);
                }
            }
            for (const AnsiString& n : nets) {
                if (n == "_null_in_") continue;
                const auto [addr, bit] = where(n);
                EXPECT_EQ(vac.GetBit(addr, bit) ? 1 : 0, value[n]) << n.str() << " scan " << scan;
            }
            EXPECT_EQ(vac.GetBit(3072, 0), 0); // the unconnected inputs' bit is never written
        }
    }
}

} // namespace
