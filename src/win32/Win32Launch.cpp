// Launching through the shell, as the desktop's own Run does.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include "win32/Win32.h"

#include <algorithm>

namespace pw::win32
{

namespace
{

// COM on the calling thread for the length of one shell call. The shell runs
// the handlers of a file type (context-menu and execute hooks, which are COM
// objects) on the calling thread and expects a single-threaded apartment. A
// thread already in another apartment keeps it: the initialisation then
// fails with RPC_E_CHANGED_MODE and must not be undone.
class ComApartment
{
public:
    ComApartment()
        : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))
    {
    }
    ~ComApartment()
    {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

const wchar_t* orNull(const std::wstring& s)
{
    return s.empty() ? nullptr : s.c_str();
}

} // namespace

std::wstring nativeSeparators(std::wstring path)
{
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

bool shellOpen(std::uintptr_t owner, const std::wstring& file, const std::wstring& params,
               const std::wstring& dir)
{
    const std::wstring nativeFile = nativeSeparators(file);
    const std::wstring nativeDir = nativeSeparators(dir);
    const ComApartment com;
    // Default verb (no operation); values above 32 mean success.
    const HINSTANCE result =
        ShellExecuteW(reinterpret_cast<HWND>(owner), nullptr, nativeFile.c_str(), orNull(params),
                      orNull(nativeDir), SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace pw::win32
