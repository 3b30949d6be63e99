/* Reports each save of a file: prints "ready" once it watches DIR, then
 * "saved" whenever a file named NAME there is closed after writing or
 * renamed into place (an atomic save), until it is ended.
 * Usage: savewatch DIR NAME */
#include <stdio.h>
#include <string.h>
#include <sys/inotify.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    int fd = inotify_init1(IN_CLOEXEC);
    if (fd < 0 || inotify_add_watch(fd, argv[1], IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
        perror("inotify");
        return 2;
    }
    printf("ready\n");
    fflush(stdout);
    char buffer[64 * 1024] __attribute__((aligned(__alignof__(struct inotify_event))));
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return 1;
        for (char* at = buffer; at < buffer + n;) {
            const struct inotify_event* e = (const struct inotify_event*)at;
            if (e->len > 0 && strcmp(e->name, argv[2]) == 0) {
                printf("saved\n");
                fflush(stdout);
            }
            at += sizeof *e + e->len;
        }
    }
}
