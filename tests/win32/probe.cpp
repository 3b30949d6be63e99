// Started by the launch tests through the shell. Usage:
//   pw_win32_probe.exe EVENT OUTPUT [ARGS...]
// Writes its working directory and then every argument, its own name (as the
// command line gives it) first, one a line, to
// OUTPUT in UTF-16 (little-endian, no byte-order mark), then signals the
// named event EVENT so that the test knows the file is complete.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    std::wstring text;
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring cwd(size, L'\0');
    size = GetCurrentDirectoryW(size, cwd.data());
    cwd.resize(size);
    text += cwd + L"\n";
    for (int i = 0; i < argc; ++i)
        text += std::wstring(argv[i]) + L"\n";

    const HANDLE file = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    DWORD written = 0;
    const DWORD bytes = DWORD(text.size() * sizeof(wchar_t));
    const bool ok = WriteFile(file, text.data(), bytes, &written, nullptr) && written == bytes;
    CloseHandle(file);

    const HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (done == nullptr)
        return 4;
    SetEvent(done);
    CloseHandle(done);
    return ok ? 0 : 5;
}
