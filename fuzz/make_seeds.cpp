// Writes the seed corpora of the fuzz targets: fuzz_make_seeds <corpus dir>.
// The seeds are committed; run this again after changing it, with the
// corpus directory emptied first.
#include "icons/icon_fixtures.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringEncoder>

#include <cstdio>

namespace
{

QDir root;
int written = 0;

void seed(const char* target, const char* name, const QByteArray& bytes)
{
    root.mkpath(QString::fromLatin1(target));
    QFile file(
        root.filePath(QStringLiteral("%1/%2").arg(QLatin1String(target), QLatin1String(name))));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s/%s\n", target, name);
        std::exit(1);
    }
    ++written;
}

QByteArray utf8(const char16_t* text)
{
    return QString::fromUtf16(text).toUtf8();
}

QByteArray encoded(QStringConverter::Encoding encoding, const QString& text)
{
    QStringEncoder encoder(encoding);
    return encoder(text);
}

const QByteArray kBomUtf8("\xEF\xBB\xBF", 3);
const QByteArray kBomUtf16LE("\xFF\xFE", 2);
const QByteArray kBomUtf16BE("\xFE\xFF", 2);

// ---------------------------------------------------------------------------
// Settings files: the file, then the value to write, its length and the key
// it goes to (ini_file_fuzzer.cpp).

QByteArray withWrite(const QByteArray& file, const QByteArray& value, int key)
{
    return file + value + char(value.size()) + char(key);
}

const char16_t* const kSettings = u"[Form]\r\n"
                                  u"Left=120\r\n"
                                  u"Top=-4\r\n"
                                  u"Mode=0\r\n"
                                  u"TaskBar=1\r\n"
                                  u"[Icon]\r\n"
                                  u"Size=48\r\n"
                                  u"Width=48\r\n"
                                  u"GapH=4\r\n"
                                  u"Jump=30\r\n"
                                  u"Refrection=1\r\n"
                                  u"DisInterpolation=1\r\n"
                                  u"[Back]\r\n"
                                  u"Color0=$FF8000\r\n"
                                  u"Color1=0x00FFFFFF\r\n"
                                  u"Opa=0.300000011920929\r\n"
                                  u"Image=0\r\n"
                                  u"ImageFile=C:\\Users\\me\\Pictures\\back.png\r\n"
                                  u"[Menu]\r\n"
                                  u"Index=2\r\n"
                                  u"Name0=メニュー1\r\n"
                                  u"Name1=Tools\r\n"
                                  u"[Hint]\r\n"
                                  u"Show=1\r\n"
                                  u"[Refrect]\r\n"
                                  u"Mode=Mirror\r\n"
                                  u"Length=1E-5\r\n";

void iniFileSeeds()
{
    const QString settings = QString::fromUtf16(kSettings);
    seed("ini_file", "settings-ansi.ini", withWrite(settings.toUtf8(), "64", 0));
    seed("ini_file", "settings-utf8-bom.ini",
         withWrite(kBomUtf8 + settings.toUtf8(), utf8(u"メニュー9"), 4));
    seed("ini_file", "settings-utf16le.ini",
         withWrite(kBomUtf16LE + encoded(QStringConverter::Utf16LE, settings), "-1", 8));
    seed("ini_file", "settings-utf16be.ini",
         withWrite(kBomUtf16BE + encoded(QStringConverter::Utf16BE, settings), "0.5", 6));
    seed("ini_file", "hand-edited.ini",
         withWrite("; written by hand\n"
                   "Orphan=1\n"
                   "[ icon ]\n"
                   "  SIZE = 64  \n"
                   "size=99\n"
                   "# Width=5\n"
                   "\n"
                   "[Icon]\n"
                   "Width=12\n"
                   "[Back\n"
                   "Opa\n"
                   "=7\n"
                   "[Back]]\n"
                   "Color0 = x1F\r"
                   "ImageFile=\r",
                   " spaced value \r\n", 5));
    seed("ini_file", "new-section.ini", withWrite("[Other]\nKey=1", "value", 11));
    seed("ini_file", "empty.ini", withWrite(QByteArray(), "1", 9));
}

void iniValueSeeds()
{
    // The first byte: bit 0 picks "," as the decimal separator, bit 1 reads
    // the rest as UTF-16 code units (ini_values_fuzzer.cpp).
    const struct {
        const char* name;
        char mode;
        QByteArray text;
    } seeds[] = {
        {"decimal", 0, "48"},
        {"negative-limit", 0, "-2147483648"},
        {"over-limit", 0, "2147483648"},
        {"hex-dollar", 0, "$FF000000"},
        {"hex-0x", 0, " 0x7fffffff "},
        {"hex-x", 0, "X1f"},
        {"float", 0, "0.300000011920929"},
        {"float-exponent", 0, "1E20"},
        {"float-negative-exponent", 0, "-1.5e-5"},
        {"float-comma", 1, "0,5"},
        {"float-overflow", 0, "1e999"},
        {"infinity", 0, "-INF"},
        {"utf16-digits", 2, encoded(QStringConverter::Utf16LE, QString::fromUtf16(u"\t12\t"))},
        {"fullwidth-digits", 0, utf8(u"１２")},
    };
    for (const auto& s : seeds)
        seed("ini_values", s.name, s.mode + s.text);
}

// ---------------------------------------------------------------------------
// Group files and entry lines.

const char16_t* const kGroup = u"C:\\Windows\\notepad.exe,,メモ帳\r\n"
                               u"\"C:\\Program Files\\App, Inc\\app.exe\",\"-a \"\"x\"\"\",App\r\n"
                               u"/usr/bin/xterm,-e top,Terminal, with a comma\r\n"
                               u"\r\n"
                               u"C:\\Users\\me\\メモ.txt,,\r\n";

void groupFileSeeds()
{
    const QString group = QString::fromUtf16(kGroup);
    seed("group_file", "crlf-ansi.txt", group.toUtf8());
    seed("group_file", "utf8-bom.txt", kBomUtf8 + group.toUtf8());
    seed("group_file", "utf16le-bom.txt", kBomUtf16LE + encoded(QStringConverter::Utf16LE, group));
    seed("group_file", "utf16be-bom.txt", kBomUtf16BE + encoded(QStringConverter::Utf16BE, group));
    seed("group_file", "mixed-breaks.txt", "a.exe,,one\rb.exe,,two\nc.exe,,three\n\rd.exe");
    seed("group_file", "bom-alone.txt", kBomUtf8);

    seed("entry_line", "plain", utf8(u"C:\\Windows\\notepad.exe,,メモ帳"));
    seed("entry_line", "quoted", "\"C:\\a,b\\app.exe\",\"-x \"\"y\"\"\",\"hint, long\"");
    seed("entry_line", "extra-fields", "a.exe,p,hint,with,commas");
    seed("entry_line", "unclosed-quote", "\"a.exe,p");
    seed("entry_line", "text-after-quote", "\"a\"b,c,");
    seed("entry_line", "compose",
         "x\x1f"
         "a,b\x1f\"q\"\x1f"
         "h");
}

// ---------------------------------------------------------------------------
// Icon files (a byte that picks the size, then the file) and programs.

QImage picture(int side)
{
    // Two colours and a transparent corner, so the mask matters.
    QImage image = fixtures::solid(side, QColor(30, 120, 220));
    for (int y = 0; y < side / 2; ++y) {
        for (int x = 0; x < side / 2; ++x)
            image.setPixelColor(x, y, QColor(220, 40, 40));
    }
    image.setPixelColor(side - 1, side - 1, QColor(0, 0, 0, 0));
    return image;
}

void iconSeeds()
{
    using fixtures::dibImage;
    using fixtures::icoFile;
    using fixtures::pngImage;
    seed("ico_file", "dib32-alpha.ico", '\0' + icoFile({dibImage(picture(16), 32)}));
    seed("ico_file", "dib32-mask.ico", '\1' + icoFile({dibImage(picture(16), 32, false)}));
    seed("ico_file", "dib24.ico", '\2' + icoFile({dibImage(picture(8), 24)}));
    seed("ico_file", "dib8.ico", '\0' + icoFile({dibImage(picture(8), 8)}));
    seed("ico_file", "dib4.ico", '\3' + icoFile({dibImage(picture(8), 4)}));
    seed("ico_file", "dib1.ico", '\4' + icoFile({dibImage(fixtures::solid(8, Qt::black), 1)}));
    seed("ico_file", "png.ico", '\0' + icoFile({pngImage(picture(16))}));
    seed("ico_file", "several.ico",
         '\1' +
             icoFile({dibImage(picture(8), 4), pngImage(picture(16)), dibImage(picture(4), 32)}));

    seed("pe_icon", "pe32.exe", fixtures::peFile({dibImage(picture(16), 32)}).bytes);
    seed("pe_icon", "pe32plus.exe",
         fixtures::peFile({dibImage(picture(8), 8), pngImage(picture(16))}, true).bytes);
}

// ---------------------------------------------------------------------------
// Desktop entries.

void desktopSeeds()
{
    seed("desktop_entry", "application.desktop",
         "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Text Editor\n"
         "Name[de]=Texteditor\n"
         "Exec=editor %U\n"
         "Icon=accessories-text-editor\n"
         "Categories=Utility;\n"
         "\n"
         "[Desktop Action new-window]\n"
         "Name=New Window\n"
         "Icon=window-new\n");
    seed("desktop_entry", "absolute-path.desktop",
         "# A comment\r\n[Desktop Entry]\r\n  Icon = /usr/share/pixmaps/my\\sapp.png\r\n");
    seed("desktop_entry", "escapes.desktop",
         "[Desktop Entry]\nIcon[de]=x\nIcon=a\\\\b\\tc\\nd\\re\\\n");
    seed("desktop_entry", "action-only.desktop",
         "[Desktop Action x]\nIcon=not-this\n[Desktop Entry]\nName=y\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus dir>\n", argv[0]);
        return 2;
    }
    root = QDir(QString::fromLocal8Bit(argv[1]));
    iniFileSeeds();
    iniValueSeeds();
    groupFileSeeds();
    iconSeeds();
    desktopSeeds();
    std::printf("%d seeds written\n", written);
    return 0;
}
