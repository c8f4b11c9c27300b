#pragma once
// The forms and data modules made at start-up, in their fixed order: the
// frame first (it becomes the main window), the settings module second (the
// settings are read before any other form needs them), then the dialogs and
// windows that the rest of the program reaches through their globals.
//
// Every entry keeps its place in the table. An entry whose window is not
// part of the program yet has no maker; it gets one when that window is
// added, so the order of those that exist never changes.

#include <array>
#include <functional>

struct TAutoForm {
    const char* ClassName;
    const char* GlobalName;
    // Makes the form into its global; null while the form does not exist.
    void (*Create)();
};

inline constexpr int kAutoFormCount = 41;
const std::array<TAutoForm, kAutoFormCount>& AutoForms();

// Makes every form that exists, in table order; after each one progress
// gets its table index.
void CreateAutoForms(const std::function<void(int)>& progress = nullptr);
