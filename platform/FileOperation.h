#pragma once
// The desktop's file operation on lists of names: copy, move, delete or
// rename files and folders (folders with everything in them), asking the
// user through the user-interface port where the flags say so.
//
// The lists: names each ended by a zero byte, the list ended by a second
// zero (an empty name ends it early; an empty string is no list). A source
// whose last part holds '*' or '?' stands for every entry it matches.
//
// Copy and move: with FOF_MULTIDESTFILES each source goes to the destination
// of the same place in the list. Otherwise the one destination is a folder
// (made when missing) when it already is one or when there are several
// sources or a mask; else it is the new name of the one source (its folder
// made when missing).
// Rename gives each source the destination of its place in the list.
//
// Questions (none with FOF_NOCONFIRMATION):
// - a destination folder that is missing, unless FOF_NOCONFIRMMKDIR:
//   "Папка <name> не существует. Создать её?" (Yes, Cancel);
// - a target that exists, unless FOF_RENAMEONCOLLISION (which gives the copy
//   the first free name "name (2).ext", "name (3).ext" ...):
//   "Файл <name> уже существует. Заменить его?" (Yes, No skips it, Cancel);
// - each entry to delete: "Удалить <name>?" (Yes, No keeps it, Cancel).
// Cancel ends the operation: nothing more is done and
// fAnyOperationsAborted is set, with the result 0.
//
// FOF_ALLOWUNDO: a deletion moves the entry to the desktop's trash.
// FOF_FILESONLY: masks match files only. The first failure ends the
// operation with an error number (errno: ENOENT for a missing source, EINVAL
// for a request without sources or destination, ...) and, unless
// FOF_NOERRORUI, the report "Не удалось выполнить операцию с файлом <name>".
// The progress flags and title are kept for the desktop; no progress window
// is shown here.

#include <string>

#include "platform/AnsiString.h"

// Operations and flags, as the old platform numbered them.
enum : unsigned { FO_MOVE = 1, FO_COPY = 2, FO_DELETE = 3, FO_RENAME = 4 };
enum : unsigned {
    FOF_MULTIDESTFILES = 0x1, FOF_CONFIRMMOUSE = 0x2, FOF_SILENT = 0x4, FOF_RENAMEONCOLLISION = 0x8,
    FOF_NOCONFIRMATION = 0x10, FOF_ALLOWUNDO = 0x40, FOF_FILESONLY = 0x80, FOF_SIMPLEPROGRESS = 0x100,
    FOF_NOCONFIRMMKDIR = 0x200, FOF_NOERRORUI = 0x400,
};

struct TSHFileOpStruct {
    unsigned wFunc = FO_COPY;
    std::string pFrom; // the sources (list form above)
    std::string pTo;   // the destinations
    unsigned fFlags = 0;
    bool fAnyOperationsAborted = false; // out: the user cancelled
    AnsiString lpszProgressTitle;
};

// 0 when every step succeeded or the user cancelled; else an error number.
int SHFileOperation(TSHFileOpStruct& op);
