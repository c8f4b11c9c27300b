#pragma once
// The forms and data modules made at start-up, in their fixed order: the
// frame first (it becomes the main window), the settings module second (the
// settings are read before any other form needs them), then the dialogs and
// windows that the rest of the program reaches through their globals.
//
// The forms are made in the order of the table, so that each may reach the
// globals of those made before it; an entry without a maker is passed over.

#include <array>
#include <functional>

struct TAutoForm {
    const char* ClassName;
    const char* GlobalName;
    // Makes the form into its global.
    void (*Create)();
};

inline constexpr int kAutoFormCount = 41;
const std::array<TAutoForm, kAutoFormCount>& AutoForms();

// Makes every form that exists, in table order; after each one progress
// gets its table index.
void CreateAutoForms(const std::function<void(int)>& progress = nullptr);
