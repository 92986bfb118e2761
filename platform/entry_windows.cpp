// The launcher's start on Windows. Linked with -municode, the C runtime splits the wide command
// line itself and calls wmain: every argument as typed, with nothing lost to the ANSI code page.
#include <cwchar>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "text/wtf8.h"

extern "C" int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> typed;
    typed.reserve(argc);
    for (int i = 0; i < argc; ++i) {
        typed.push_back(wtf8FromUtf16(
            std::u16string_view(reinterpret_cast<const char16_t*>(argv[i]), std::wcslen(argv[i]))));
    }
    return launch(typed);
}
