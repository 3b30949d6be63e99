/* Which program icon each tile of a screenshot shows.
 *
 * Usage: tilematch SHOT.rgb WIDTH HEIGHT SIZE RADIUS LIMIT TILE... -- ICON.rgba...
 *   SHOT.rgb   the dock's window, raw 8-bit RGB, WIDTH x HEIGHT
 *   SIZE       the icons' size (SIZE x SIZE raw 8-bit RGBA each)
 *   TILE       X,Y: where tile i's icon is expected to start in the shot;
 *              tile i is expected to show ICON i
 *   RADIUS     the icon is looked for up to RADIUS pixels off that place
 *   LIMIT      the largest mean difference (0-255) a tile may have from
 *              its own icon
 *
 * The distance of a tile from an icon is the mean absolute channel
 * difference over the icon's opaque pixels (the see-through ones show the
 * dock's panel, whatever it looks like), at the offset where it is least.
 * Prints the table; exits 0 when every tile is nearest to its own icon and
 * within LIMIT of it, 1 when not, 2 on bad input. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static unsigned char* readAll(const char* path, size_t expected)
{
    FILE* f = fopen(path, "rb");
    if (!f) {
        perror(path);
        return NULL;
    }
    unsigned char* data = malloc(expected + 1);
    size_t n = data ? fread(data, 1, expected + 1, f) : 0;
    fclose(f);
    if (n != expected) {
        fprintf(stderr, "%s: %zu bytes, expected %zu\n", path, n, expected);
        free(data);
        return NULL;
    }
    return data;
}

struct Match {
    double distance;
    int dx, dy;
};

static struct Match bestMatch(const unsigned char* shot, int w, int h, const unsigned char* icon,
                              int size, int x0, int y0, int radius)
{
    struct Match best = {1e9, 0, 0};
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            int x = x0 + dx, y = y0 + dy;
            if (x < 0 || y < 0 || x + size > w || y + size > h)
                continue;
            long sum = 0, count = 0;
            for (int iy = 0; iy < size; ++iy) {
                for (int ix = 0; ix < size; ++ix) {
                    const unsigned char* p = icon + 4 * (iy * size + ix);
                    if (p[3] != 255)
                        continue;
                    const unsigned char* s = shot + 3 * ((y + iy) * w + (x + ix));
                    for (int c = 0; c < 3; ++c)
                        sum += abs(p[c] - s[c]);
                    count += 3;
                }
            }
            if (count > 0 && (double)sum / count < best.distance)
                best = (struct Match){(double)sum / count, dx, dy};
        }
    }
    return best;
}

int main(int argc, char** argv)
{
    if (argc < 8)
        return 2;
    int w = atoi(argv[2]), h = atoi(argv[3]), size = atoi(argv[4]), radius = atoi(argv[5]);
    double limit = atof(argv[6]);
    int tiles = 0;
    while (7 + tiles < argc && strcmp(argv[7 + tiles], "--") != 0)
        ++tiles;
    int icons = argc - 8 - tiles;
    if (w <= 0 || h <= 0 || size <= 0 || tiles < 1 || icons != tiles)
        return 2;
    unsigned char* shot = readAll(argv[1], (size_t)w * h * 3);
    if (!shot)
        return 2;
    unsigned char** icon = calloc((size_t)icons, sizeof *icon);
    for (int i = 0; i < icons; ++i) {
        icon[i] = readAll(argv[8 + tiles + i], (size_t)size * size * 4);
        if (!icon[i])
            return 2;
    }
    int ok = 1;
    for (int t = 0; t < tiles; ++t) {
        int x0, y0;
        if (sscanf(argv[7 + t], "%d,%d", &x0, &y0) != 2)
            return 2;
        printf("tile %d at %d,%d:", t, x0, y0);
        int nearest = -1;
        double nearestDistance = 1e9;
        for (int i = 0; i < icons; ++i) {
            struct Match m = bestMatch(shot, w, h, icon[i], size, x0, y0, radius);
            printf("  icon %d %.1f (%+d,%+d)", i, m.distance, m.dx, m.dy);
            if (m.distance < nearestDistance) {
                nearestDistance = m.distance;
                nearest = i;
            }
        }
        int good = nearest == t && nearestDistance <= limit;
        printf("  -> %s\n", good ? "own icon" : "NOT its own icon");
        ok &= good;
    }
    return ok ? 0 : 1;
}
