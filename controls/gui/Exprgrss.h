#pragma once
// The progress registry: for a control class, which of its published
// properties hold the maximum, the minimum and the current value of a
// progress display, so that code drives any registered progress control
// through three functions without knowing its class. It starts with the
// platform's TProgressBar (Max, Min, Position). Registration is made on the
// UI thread (at start-up); the registry has no lock.
//
// Property names are kept to their first 63 characters. An integer property
// is set to the value, a floating-point one to the value as a floating-point
// number; a property of another kind (a variant among them) is refused.

#include "controls/Exprops.h"
#include "platform/gui/Controls.h"

// Appends an entry; a class registered twice has two entries.
void RegisterProgressControl(const TClassRef& controlClass, const AnsiString& maxPropName,
                             const AnsiString& minPropName, const AnsiString& progressPropName);
// Removes every entry whose class is the class or derives from it.
void UnRegisterProgressControl(const TClassRef& controlClass);
// Whether some entry's class is the control's class or one of its bases.
bool SupportsProgressControl(TControl* control);
// Set the property of the entry for the control's class: the latest entry
// whose class is the control's class or one of its bases, so a later, more
// specific registration wins. False for no control, no entry, no such
// property or a kind that is refused; the control is then unchanged.
bool SetProgressMax(TControl* control, int value);
bool SetProgressMin(TControl* control, int value);
bool SetProgressValue(TControl* control, int value);
