#include "SampleProject.h"

#include "document/DriversInfo.h"
#include "document/Project.h"
#include "platform/FileNames.h"
#include "translator/SchemeBuild.h"

namespace sample {

using namespace trtest;

bool FillTable(TDriversInfo& table, AnsiString& error) {
    auto ok = [&](int code) {
        if (code != TDriversInfo::Ok && error.IsEmpty()) error = table.LastError();
        return code == TDriversInfo::Ok;
    };
    auto driver = [&](const AnsiString& name, int type, int direction, uint32_t address) {
        _drv d;
        d.Name = name;
        d.Type = type;
        d.Direction = direction;
        d.Address = address;
        d.BitCount = 8;
        return ok(table.AddDriver(d));
    };
    if (!(ok(table.AddDriverType("DIN", 1)) && ok(table.AddDriverType("DOUT", 2)) && driver("DI", 0, 0, 0x100) &&
          driver("DO", 1, 1, 0x200) && ok(table.AddBit("A", "DI", 0, "Кнопка A"_a)) &&
          ok(table.AddBit("B", "DI", 1, "Кнопка B"_a)) && ok(table.AddBit("Y", "DO", 0, "Лампа Y"_a)) &&
          ok(table.AddBit("Z", "DO", 1, "Лампа Z"_a))))
        return false;
    if (table.AddVarBit("X", "Связь s1 - s2"_a)) return true;
    error = table.LastError();
    return false;
}

bool WriteSchemes(const AnsiString& folder, bool project) {
    TScheme s1;
    TElement* and1 = Place(s1, s1.CreateAndElement(), "AND1", 100, 100, 1);
    DriverOn(s1, "A", and1->GetInput(0));
    DriverOn(s1, "B", and1->GetInput(1));
    DriverOn(s1, "Y", and1->GetOutput(0));
    TElement* timer = Place(s1, s1.CreateTimerElement(), "TIMER1", 100, 300, 2);
    DriverOn(s1, "A", timer->GetInput(0));
    DriverOn(s1, "X", timer->GetOutput(0), true);
    s1.SetFileName(PathJoin(folder, "s1.tvs"));
    if (!s1.SaveToFile()) return false;

    TScheme s2;
    TElement* or1 = Place(s2, s2.CreateOrElement(), "OR1", 300, 100, 1);
    TDriver* x = LooseDriver(s2, "X", 0, 400, true);
    Wire(s2, x->Terminal(), or1->GetInput(0));
    DriverOn(s2, "B", or1->GetInput(1));
    DriverOn(s2, "Z", or1->GetOutput(0));
    s2.SetFileName(PathJoin(folder, "s2.tvs"));
    if (!s2.SaveToFile()) return false;

    if (!project) return true;
    TProject p(nullptr);
    p.SetFileName(PathJoin(folder, "p.tvp"));
    return p.AddFile(PathJoin(folder, "s1.tvs")) && p.AddFile(PathJoin(folder, "s2.tvs")) && p.Save();
}

} // namespace sample
