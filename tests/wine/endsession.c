/* A log-off that is called off, as the dock sees it: WM_QUERYENDSESSION to
 * every top-level window of the process that owns the shown window titled
 * "Pondwillow", then WM_ENDSESSION with FALSE (the session goes on), which
 * the system sends after the query in any case; until then Qt drops the
 * program's keyboard and mouse input. Prints one line per window and
 * message: its handle, class, whether it is the dock's, whether it
 * answered and what. Exit status: 0 when the dock's own window answered
 * both, 2 when no such window exists, 1 otherwise. */
#include <windows.h>

#include <stdio.h>
#include <wchar.h>

static HWND dock;
static DWORD dockProcess;

static BOOL CALLBACK findDock(HWND wnd, LPARAM unused)
{
    (void)unused;
    wchar_t title[64];
    if (IsWindowVisible(wnd) && GetWindowTextW(wnd, title, 64) > 0 &&
        wcscmp(title, L"Pondwillow") == 0) {
        dock = wnd;
        GetWindowThreadProcessId(wnd, &dockProcess);
        return FALSE;
    }
    return TRUE;
}

static int dockAnswered;

/* LPARAM: the message to send. */
static BOOL CALLBACK sendTo(HWND wnd, LPARAM message)
{
    DWORD process = 0;
    GetWindowThreadProcessId(wnd, &process);
    if (process != dockProcess)
        return TRUE;
    char cls[128] = "";
    GetClassNameA(wnd, cls, sizeof cls);
    DWORD_PTR answer = 0;
    LRESULT sent = SendMessageTimeoutW(wnd, (UINT)message, 0, ENDSESSION_LOGOFF,
                                       SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &answer);
    printf("%s window %p class=%s dock=%d answered=%d reply=%lu\n",
           message == WM_QUERYENDSESSION ? "WM_QUERYENDSESSION" : "WM_ENDSESSION(FALSE)",
           (void*)wnd, cls, wnd == dock, sent != 0, (unsigned long)answer);
    if (wnd == dock && sent != 0)
        ++dockAnswered;
    return TRUE;
}

int main(void)
{
    EnumWindows(findDock, 0);
    if (!dock) {
        printf("no shown window titled Pondwillow\n");
        return 2;
    }
    const UINT messages[] = {WM_QUERYENDSESSION, WM_ENDSESSION};
    for (int i = 0; i < 2; ++i)
        EnumWindows(sendTo, (LPARAM)messages[i]);
    fflush(stdout);
    return dockAnswered == 2 ? 0 : 1;
}
