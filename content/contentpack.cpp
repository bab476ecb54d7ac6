// Stand-in packer for the content build: "contentpack build LIST PACK" writes
// the demo's pack format (entry count, then per entry a 256-byte zero-filled
// name, a 32-bit little-endian length and the bytes) from an archive list.
// The build uses the real archive tool instead whenever it is available.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
void put32(std::ofstream& out, uint32_t v)
{
    for (int b = 0; b < 4; ++b)
        out.put(static_cast<char>((v >> (8 * b)) & 0xff));
}
}

int main(int argc, char** argv)
{
    if (argc != 4 || std::strcmp(argv[1], "build") != 0)
    {
        std::fprintf(stderr, "usage: contentpack build LIST PACK\n");
        return 2;
    }
    std::ifstream list(argv[2]);
    std::string line;
    if (!list || !std::getline(list, line))
    {
        std::fprintf(stderr, "contentpack: cannot read %s\n", argv[2]);
        return 1;
    }
    uint32_t count = static_cast<uint32_t>(std::stoul(line));
    std::ofstream pack(argv[3], std::ios::binary | std::ios::trunc);
    put32(pack, count);
    while (std::getline(list, line))
    {
        std::ifstream in(line, std::ios::binary);
        if (!in || line.size() > 255)
        {
            std::fprintf(stderr, "contentpack: cannot add \"%s\"\n", line.c_str());
            return 1;
        }
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        char name[256] = {};
        std::memcpy(name, line.data(), line.size());
        pack.write(name, sizeof name);
        put32(pack, static_cast<uint32_t>(bytes.size()));
        pack.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    return pack ? 0 : 1;
}
