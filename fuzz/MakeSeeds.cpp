// Writes the binary seed files of the fuzz targets, built by the program's own
// code so that they follow the formats as they are written today:
//   fuzz_seeds OUTDIR  ->  OUTDIR/scheme, clip, fsm, debugdata, bmp
// The text formats' seeds are kept by hand in fuzz/corpus/.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include <QGuiApplication>

#include "debugger/DebugFileBuilder.h"
#include "document/Scheme.h"
#include "fsm/FsmTestSupport.h"
#include "fsm/fsmScheme.h"
#include "model/Records.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/testing/TestUiPort.h"

namespace {

std::filesystem::path g_out;

void Put(const char* target, const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(g_out / target);
    std::ofstream(g_out / target / name, std::ios::binary | std::ios::trunc) << bytes;
}

void Schemes() {
    // One object of every stored kind, in a row, joined by wires.
    TScheme all;
    all.SetFileName("all.tvs");
    for (int tag = 1; tag <= 26; ++tag) {
        std::unique_ptr<TEntity> e = CreateEntityForTag(uint8_t(tag), &all);
        if (!e) continue;
        e->SetName(AnsiString("E") + IntToStr(tag));
        e->SetX(60 + 90 * (tag % 8));
        e->SetY(40 + 120 * (tag / 8));
        all.AddObject(e.release());
    }
    for (int i = 0; i < 6; ++i) all.CreateWire(10 + 90 * i, 30, 10 + 90 * i, 400);
    Put("scheme", "all-kinds.tvs", all.SaveToBytes());

    TScheme small;
    small.SetFileName("small.tvs");
    TAndElement* a = small.CreateAndElement();
    a->SetName("A1");
    a->SetX(100);
    a->SetY(100);
    TOrElement* o = small.CreateOrElement();
    o->SetName("O1");
    o->SetX(300);
    o->SetY(100);
    TInOut* out = a->GetOutput(0);
    small.CreateWire(out->TipX(), out->TipY(), o->GetInput(0)->TipX(), o->GetInput(0)->TipY());
    Put("scheme", "small.tvs", small.SaveToBytes());
    TScheme empty;
    Put("scheme", "empty.tvs", empty.SaveToBytes());

    // The scheme editor's clipboard: the small scheme, selected whole.
    for (TEntity* e : small.LiveObjects()) small.AddToSelection(e, true);
    if (small.Copy()) {
        std::ifstream in("clip.brd", std::ios::binary);
        Put("clip", "scheme.clip.brd", std::string(std::istreambuf_iterator<char>(in), {}));
    }
}

void Machines() {
    TFSMScheme doc;
    doc.SetFileName("example.fsm");
    fsmtest::BuildExample(doc);
    Put("fsm", "example.fsm", doc.SaveToBytes());
    TFSMScheme plain;
    fsmtest::BuildExample(plain, false);
    Put("fsm", "no-reset.fsm", plain.SaveToBytes());
    // The state-machine editor's clipboard: the whole example.
    doc.SelectInRect(true, Rect(-1000, -1000, 5000, 5000));
    if (doc.CopyToClipboard()) {
        std::ifstream in("clip.brd", std::ios::binary);
        Put("clip", "machine.clip.brd", std::string(std::istreambuf_iterator<char>(in), {}));
    }
}

void DataFiles() {
    int n = 0;
    for (const std::string& file : dbgfile::SampleFiles()) Put("debugdata", "sample" + std::to_string(n++) + ".dat", file);
}

void Pictures() {
    TBitmap colour;
    colour.SetSize(5, 3);
    colour.Canvas()->SetPixels(1, 1, clRed);
    colour.Canvas()->SetPixels(4, 2, clBlue);
    Put("bmp", "colour.bmp", colour.SaveToBytes());
    TBitmap mono;
    mono.SetMonochrome(true);
    mono.SetSize(9, 2);
    mono.Canvas()->SetPixels(3, 1, clBlack);
    Put("bmp", "mono.bmp", mono.SaveToBytes());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
        return 2;
    }
    g_out = std::filesystem::absolute(argv[1]);
    std::filesystem::create_directories(g_out);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    // The clipboard files are written to the current folder.
    const std::filesystem::path work = g_out / ".work";
    std::filesystem::create_directories(work);
    std::filesystem::current_path(work);
    TestUiPort ui;
    Schemes();
    Machines();
    DataFiles();
    Pictures();
    std::filesystem::current_path(g_out);
    std::filesystem::remove_all(work);
    return 0;
}
