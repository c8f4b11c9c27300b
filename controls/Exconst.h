#pragma once
// The component library's own texts (string table 61254-61264) and the
// pictures it loads by name: the check images of check-list boxes
// ("CHECK_IMAGES"), the spin-button arrows ("EXSPINUP", "EXSPINDOWN"), the
// buttons of file-name and date edits ("FEDITBMP", "DEDITBMP"), the calendar
// navigation arrows ("PREV2", "PREV1", "NEXT1", "NEXT2") and the hand and drag
// cursor pictures ("EX_HANDCUR", "EX_DRAGCUR"), drawn in code.

#include "platform/AnsiString.h"

enum : int {
    SInformation = 61254,     // "Сведения"
    SLoadLibError = 61255,    // "Невозможно загрузить библиотеку '%s'"
    SFileNotExec = 61256,     // "Указанный файл не является исполнимым файлом, ..."
    SNotImplemented = 61257,  // "Функция не реализована"
    SPrevMonth = 61258,       // "Предыдущий месяц|"
    SPrevYear = 61259,        // "Предыдущий год|"
    SNextMonth = 61260,       // "Следующий месяц|"
    SNextYear = 61261,        // "Следующий год|"
    SDateDlgTitle = 61262,    // "Выбор даты"
    SDefaultFilter = 61263,   // "Все файлы (*.*)|*.*"
    SBrowse = 61264,          // "Список"
};

// The text of a string of the library's table; "" for an unknown id.
AnsiString ExLoadStr(int id);

// Screen cursor numbers of the library's cursors.
enum : int { crHand = 14000, crDragHand = 14001 };
// Hot spots of the cursor pictures.
inline constexpr int kHandCursorHotX = 5, kHandCursorHotY = 0;
inline constexpr int kDragCursorHotX = 0, kDragCursorHotY = 0;

// Registers the pictures with the named-resource facility of the bitmaps;
// every loader of the library calls it first (it runs once).
void RegisterExResources();
