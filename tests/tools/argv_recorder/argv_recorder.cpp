// Appends one record per start to the file named by QLN_ARGV_RECORD: the
// number of arguments, then every argument, each ended by a zero byte, so
// that any byte of an argument (blanks, quotes, line feeds) survives.
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    const char *path = std::getenv("QLN_ARGV_RECORD");
    if (!path)
        return 2;
    std::FILE *file = std::fopen(path, "ab");
    if (!file)
        return 3;
    std::fprintf(file, "%d", argc - 1);
    std::fputc('\0', file);
    for (int i = 1; i < argc; ++i)
        std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, file);
    return std::fclose(file) == 0 ? 0 : 4;
}
