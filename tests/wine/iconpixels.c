/* Writes the icon a program file carries (index 0, SIZE x SIZE, as
 * PrivateExtractIconsW gives it) as raw RGBA bytes, rows top to bottom, with
 * straight alpha; an icon without alpha gets it from its mask.
 * Usage: iconpixels FILE SIZE OUT.rgba     Exit status 1: no icon. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

static int readBits(HBITMAP bitmap, int width, int height, unsigned* out)
{
    BITMAPINFO info = {0};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(NULL);
    int rows = GetDIBits(dc, bitmap, 0, (UINT)height, out, &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, dc);
    return rows == height;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4)
        return 2;
    int size = _wtoi(argv[2]);
    HICON icon = NULL;
    UINT id = 0;
    if (size <= 0 ||
        PrivateExtractIconsW(argv[1], 0, size, size, &icon, &id, 1, LR_LOADFROMFILE) != 1 ||
        !icon) {
        fprintf(stderr, "iconpixels: no icon in the file\n");
        return 1;
    }
    ICONINFO info;
    if (!GetIconInfo(icon, &info) || !info.hbmColor) {
        fprintf(stderr, "iconpixels: no colour bitmap\n");
        return 1;
    }
    BITMAP bm;
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    int w = bm.bmWidth, h = bm.bmHeight;
    unsigned* color = calloc((size_t)w * h, 4);
    unsigned* mask = calloc((size_t)w * h, 4);
    if (!color || !mask || !readBits(info.hbmColor, w, h, color) ||
        !readBits(info.hbmMask, w, h, mask))
        return 1;
    int hasAlpha = 0;
    for (int i = 0; i < w * h; ++i)
        hasAlpha |= (color[i] >> 24) != 0;
    FILE* out = _wfopen(argv[3], L"wb");
    if (!out)
        return 1;
    for (int i = 0; i < w * h; ++i) {
        unsigned p = color[i];
        unsigned a = hasAlpha ? p >> 24 : ((mask[i] & 0xFFFFFF) ? 0 : 255);
        unsigned char rgba[4] = {(unsigned char)(p >> 16), (unsigned char)(p >> 8),
                                 (unsigned char)p, (unsigned char)a};
        fwrite(rgba, 1, 4, out);
    }
    fclose(out);
    printf("%dx%d\n", w, h);
    return 0;
}
