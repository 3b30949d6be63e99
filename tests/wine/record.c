/* A program the dock launches: appends its command line and working
 * directory, UTF-8, to record.txt beside itself, in one write, and exits. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

static int utf8(const wchar_t* text, char* out, int size)
{
    return WideCharToMultiByte(CP_UTF8, 0, text, -1, out, size, NULL, NULL);
}

int wmain(void)
{
    wchar_t self[MAX_PATH];
    wchar_t cwd[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || GetCurrentDirectoryW(MAX_PATH, cwd) == 0)
        return 1;
    wchar_t* slash = wcsrchr(self, L'\\');
    if (!slash)
        return 1;
    wcscpy(slash + 1, L"record.txt");

    static char line[4 * 32768 + 4 * MAX_PATH + 16];
    char cwd8[4 * MAX_PATH];
    static char cmd8[4 * 32768];
    if (!utf8(GetCommandLineW(), cmd8, sizeof cmd8) || !utf8(cwd, cwd8, sizeof cwd8))
        return 1;
    int len = snprintf(line, sizeof line, "cmd=%s\r\ncwd=%s\r\n", cmd8, cwd8);
    if (len <= 0 || len >= (int)sizeof line)
        return 1;

    HANDLE file = CreateFileW(self, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(file, line, (DWORD)len, &written, NULL) && written == (DWORD)len;
    CloseHandle(file);
    return ok ? 0 : 1;
}
