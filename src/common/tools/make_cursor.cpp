// Draws the hand pointer that the push buttons show and writes it as a cursor file (the
// format of Windows' .cur files, which Qt's icon reader reads): one 32 x 32 picture of
// 1 bit a pixel with its mask, the hot spot at the tip of the pointing finger.
// Usage: make_cursor <HAND-M.CUR to write>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;
// '#' black, 'o' white, '.' transparent; rows shorter than the picture are transparent
// beyond their end.
constexpr std::array<const char*, 22> kHand = {
    ".....##",
    "....#oo#",
    "....#oo#",
    "....#oo#",
    "....#oo#",
    "....#oo###",
    "....#oo#oo###",
    "....#oo#oo#oo##",
    "....#oo#oo#oo#o#",
    ".##.#oo#oo#oo#oo#",
    "#oo##oooooooo#oo#",
    "#ooo#oooooooooooo#",
    ".#oo#oooooooooooo#",
    ".#ooooooooooooooo#",
    "..#oooooooooooooo#",
    "..#ooooooooooooo#",
    "...#oooooooooooo#",
    "...#ooooooooooo#",
    "....#oooooooooo#",
    "....#oooooooooo#",
    ".....#oooooooo#",
    ".....##########",
};
constexpr int kHotX = 5;
constexpr int kHotY = 0;

char PixelAt(int x, int y)
{
    if (y >= int(kHand.size()))
        return '.';
    const std::string row = kHand[std::size_t(y)];
    return x < int(row.size()) ? row[std::size_t(x)] : '.';
}

void Put16(std::vector<unsigned char>& out, unsigned value)
{
    out.push_back(value & 0xff);
    out.push_back((value >> 8) & 0xff);
}

void Put32(std::vector<unsigned char>& out, std::uint32_t value)
{
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

// One bit a pixel, rows of 4 bytes from the bottom up, as the bitmaps of a cursor file are.
void PutBits(std::vector<unsigned char>& out, bool (*set)(char))
{
    for (int y = kSize - 1; y >= 0; --y)
        for (int byte = 0; byte < kSize / 8; ++byte) {
            unsigned char bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (set(PixelAt(byte * 8 + bit, y)))
                    bits |= 0x80 >> bit;
            out.push_back(bits);
        }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <cursor file to write>\n", argv[0]);
        return 2;
    }
    constexpr std::uint32_t kHeader = 40, kPalette = 8, kBits = kSize * kSize / 8;
    std::vector<unsigned char> file;
    // The directory: a cursor of one picture, its size, hot spot, length and place.
    Put16(file, 0);
    Put16(file, 2);
    Put16(file, 1);
    file.insert(file.end(), {kSize, kSize, 2, 0});
    Put16(file, kHotX);
    Put16(file, kHotY);
    Put32(file, kHeader + kPalette + 2 * kBits);
    Put32(file, 6 + 16);
    // The picture's header: as wide as the picture, picture and mask high, 1 bit a pixel.
    for (std::uint32_t value : {kHeader, std::uint32_t(kSize), std::uint32_t(2 * kSize)})
        Put32(file, value);
    Put16(file, 1);
    Put16(file, 1);
    for (int i = 0; i < 6; ++i)
        Put32(file, 0);
    // The palette, black and white, then the picture (white where 'o') and the mask (the
    // screen shows through where '.').
    Put32(file, 0x00000000);
    Put32(file, 0x00ffffff);
    PutBits(file, [](char c) { return c == 'o'; });
    PutBits(file, [](char c) { return c == '.'; });

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(file.data(), 1, file.size(), out) != file.size() ||
        std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
