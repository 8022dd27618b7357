// The wizard's user-visible texts: loaded from the library's string table.
#ifndef KVCOMM_KVTEXT_H
#define KVCOMM_KVTEXT_H

#include <windows.h>

#include <initializer_list>
#include <string>

class CKvText {
public:
    // The module whose resources hold the texts and the dialog: this DLL, or the test
    // program that links the library's objects together with its resource script.
    static HINSTANCE Module();

    static std::string Load(UINT id);

    // Replaces each "%s" of the string `id` in turn; the arguments are never read as formats.
    static std::string Format(UINT id, std::initializer_list<std::string> args);

    // The system's description of a Win32 error code, without the trailing line break.
    static std::string SystemError(DWORD error);

    // The message box every report of the wizard goes through.
    static void Report(HWND owner, const std::string& text);
};

#endif
