#include "robot/screenshot.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "robot/files.h"
#include "robot/report.h"
#include "robot/scenario.h"

namespace robot {

namespace {

std::uint32_t Crc32(const std::string& bytes, size_t from) {
    static std::uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    std::uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); ++i) {
        crc = table[(crc ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

void PutBig32(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
    PutBig32(png, static_cast<std::uint32_t>(data.size()));
    const size_t start = png.size();
    png += type;
    png += data;
    PutBig32(png, Crc32(png, start));
}

}  // namespace

std::string EncodePng(int width, int height, const std::string& rgb) {
    std::string raw;
    raw.reserve(static_cast<size_t>(height) * (width * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw += '\0';  // filter: none
        raw.append(rgb, static_cast<size_t>(y) * width * 3, static_cast<size_t>(width) * 3);
    }
    // zlib stream of stored (uncompressed) deflate blocks.
    std::string z = "\x78\x01";
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        const bool last = at + n >= raw.size();
        z += static_cast<char>(last ? 1 : 0);
        z += static_cast<char>(n & 0xFF);
        z += static_cast<char>(n >> 8);
        z += static_cast<char>(~n & 0xFF);
        z += static_cast<char>((~n >> 8) & 0xFF);
        z.append(raw, at, n);
        if (last)
            break;
    }
    PutBig32(z, (b << 16) | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBig32(header, static_cast<std::uint32_t>(width));
    PutBig32(header, static_cast<std::uint32_t>(height));
    header += "\x08\x02\x00\x00\x00";  // 8 bits, RGB, deflate, no filter set, no interlace
    header.resize(13);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", "");
    return png;
}

bool Screenshot(const std::string& name) {
    const std::string dirUnix = Env("QZ_SCREENSHOT_DIR");
    if (dirUnix.empty())
        return false;
    const std::string dir = FromUnixPath(dirUnix);
    MakeDirs(dir);
    // Let the program finish painting what the last action changed.
    ::Sleep(300);
    HDC screen = ::GetDC(nullptr);
    const int width = ::GetDeviceCaps(screen, HORZRES);
    const int height = ::GetDeviceCaps(screen, VERTRES);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    ::GdiFlush();
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    std::string rgb;
    rgb.reserve(static_cast<size_t>(width) * height * 3);
    const auto* data = static_cast<const unsigned char*>(bits);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = data + y * stride;
        for (int x = 0; x < width; ++x) {
            rgb += static_cast<char>(row[x * 3 + 2]);
            rgb += static_cast<char>(row[x * 3 + 1]);
            rgb += static_cast<char>(row[x * 3]);
        }
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(bitmap);
    ::ReleaseDC(nullptr, screen);
    const std::string file = WithSlash(dir) + CurrentScenario() + "-" + name + ".png";
    const bool saved = WriteWholeFile(file, EncodePng(width, height, rgb));
    Step("screenshot " + file + (saved ? "" : " (not saved)"));
    return saved;
}

}  // namespace robot
