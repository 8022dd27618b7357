#pragma once

#include <memory>

#include "CodePage.h"

// The code page `number` through the platform's own tables: WideCharToMultiByte and
// MultiByteToWideChar on Windows, iconv natively. Null when the platform does not know it.
// One object serves one thread.
std::unique_ptr<CCodePage> OpenCodePage(unsigned number);

// The code page the book's text is in on this machine: the system's ANSI code page on Windows,
// 1252 elsewhere.
unsigned SystemAnsiCodePage();
