// A stand-in for FFmpeg that tests script. It answers the three kinds of call
// Quillon makes:
//   -hide_banner -encoders   an encoder list (section [encoders], else a
//                            built-in list of the usual encoders)
//   -version                 one version line
//   -i FILE [-i FILE...]     a probe: for each file, section [probe] (or
//                            a built-in description of a 4 s, 25 fps,
//                            160x120 file with stereo audio); "%INPUT%"
//                            becomes FILE, "#0" the input's number; exit
//                            code 1 as FFmpeg ends without an output, at
//                            once at a file that is not there
//   anything else            a conversion: the first [run] section whose
//                            filter matches, else the built-in run
// The script is the file named by QLN_FAKE_FFMPEG_SCRIPT. Sections start
// with a line "[probe]", "[encoders]", "[run]" or "[first]", optionally followed by
// " match=TEXT": the section then only serves calls whose arguments, joined
// by single blanks, contain TEXT. Lines starting with "#" are comments.
//
// Actions of a [run] section, one per line, in order:
//   out:TEXT         write TEXT to standard error; escapes \r \n \t and
//                    \\ (a backslash)
//   progress:N,MS[,crlf]  N progress lines ending with CR (or CR LF), MS ms
//                    apart
//   sleep:MS         print nothing for MS ms
//   q:honour | q:ignore   whether "q" on standard input ends the run
//                    (default honour); honoured, the run ends at once with
//                    the q-exit code, the output written as far as it is
//   q-exit:N         exit code after "q" (default 0)
//   output:BYTES     write the output file (the last argument) with BYTES
//                    bytes; 0 leaves an empty file
//   readonly         take the write permissions off the output file
//   exit:N           end with exit code N
//   flood:BYTES      write BYTES bytes "x" to standard error, no line end
//   lines:N,MS       N lines "chatty line K" (K from 1) spread over MS ms,
//                    written in bursts every 10 ms
//   log-nice:FILE    append its CPU priority (nice value), a tab and its
//                    arguments joined by blanks as one line to FILE
// A run that reaches the end of its section exits with code 0.
//
// A [first] section holds actions of the same kind that any call (encoder
// list, version, probe, run) carries out before it is answered: to make the
// call hang or flood. An exit code other than 0 ends the call there.
//
// A first pass ("-pass 1") leaves FFmpeg's statistics files in the working
// folder; a second pass fails, as FFmpeg does, when they are not there.
// When QLN_FAKE_FFMPEG_LOG names a file, every call appends one line to it:
// the working folder and each argument, separated by tabs, with "\", tab,
// CR and LF written as \\ \t \r \n.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void writeAll(int fd, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        done += size_t(n);
    }
}

void err(const std::string &text)
{
    writeAll(STDERR_FILENO, text);
}

std::string unescape(const std::string &text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        const char kind = text[++i];
        result += kind == 'r' ? '\r' : kind == 'n' ? '\n' : kind == 't' ? '\t' : kind;
    }
    return result;
}

std::string escapeForLog(const std::string &text)
{
    std::string result;
    for (const char c : text) {
        if (c == '\\')
            result += "\\\\";
        else if (c == '\t')
            result += "\\t";
        else if (c == '\r')
            result += "\\r";
        else if (c == '\n')
            result += "\\n";
        else
            result += c;
    }
    return result;
}

bool fileExists(const std::string &path)
{
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0;
}

bool writeFile(const std::string &path, size_t bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    writeAll(fd, std::string(bytes, 'v'));
    ::close(fd);
    return true;
}

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

struct Section
{
    std::string kind;
    std::string match;
    std::vector<std::string> lines;
};

std::vector<Section> readScript()
{
    std::vector<Section> sections;
    const char *path = std::getenv("QLN_FAKE_FFMPEG_SCRIPT");
    if (!path || !*path)
        return sections;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            Section section;
            section.kind
                = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            const size_t blank = section.kind.find(' ');
            if (blank != std::string::npos) {
                const std::string filter = section.kind.substr(blank + 1);
                section.kind.resize(blank);
                if (filter.rfind("match=", 0) == 0)
                    section.match = filter.substr(6);
            }
            sections.push_back(section);
        } else if (!sections.empty()) {
            sections.back().lines.push_back(line);
        }
    }
    return sections;
}

const Section *findSection(
    const std::vector<Section> &sections, const std::string &kind, const std::string &joined)
{
    for (const Section &section : sections) {
        if (section.kind == kind
            && (section.match.empty() || joined.find(section.match) != std::string::npos))
            return &section;
    }
    return nullptr;
}

void logCall(const std::vector<std::string> &args)
{
    const char *path = std::getenv("QLN_FAKE_FFMPEG_LOG");
    if (!path || !*path)
        return;
    char folder[4096];
    std::string line = escapeForLog(::getcwd(folder, sizeof folder) ? folder : "?");
    for (const std::string &arg : args) {
        line += '\t';
        line += escapeForLog(arg);
    }
    line += "\n";
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd >= 0) {
        writeAll(fd, line);
        ::close(fd);
    }
}

const char *const Banner
    = "ffmpeg version 5.1-fake Copyright (c) 2000-2024 the FFmpeg developers\r\n"
      "  built with gcc 12 (Debian 12.2.0-14)\r\n"
      "  libavutil      57. 28.100 / 57. 28.100\r\n";

const char *const DefaultProbe
    = "Input #0, matroska,webm, from '%INPUT%':\n"
      "  Duration: 00:00:04.00, start: 0.000000, bitrate: 400 kb/s\n"
      "  Stream #0:0: Video: h264 (High), yuv420p(progressive), 160x120 [SAR 1:1 DAR 4:3], 25 "
      "fps, 25 tbr, 1k tbn (default)\n"
      "  Stream #0:1: Audio: aac (LC), 48000 Hz, stereo, fltp, 128 kb/s (default)\n";

const char *const DefaultEncoders[] = {"libx264", "libxvid", "mpeg4", "msmpeg4v2", "msmpeg4",
    "wmv1", "wmv2", "mjpeg", "huffyuv", "ffv1", "mpeg1video", "mpeg2video", "libmp3lame", "aac",
    "ac3", "mp2", "pcm_s16le", "libvorbis", "flac"};

int answerEncoders(const std::vector<Section> &sections)
{
    err(" Encoders:\n  V..... = Video\n  A..... = Audio\n ------\n");
    if (const Section *section = findSection(sections, "encoders", {})) {
        for (const std::string &name : section->lines)
            err(" V..... " + name + "              fake\n");
    } else {
        for (const char *name : DefaultEncoders)
            err(std::string(" V..... ") + name + "              fake\n");
    }
    return 0;
}

// The description of input number index, numbered as FFmpeg numbers the
// inputs of one run.
std::string describe(const std::string &text, const std::string &input, size_t index)
{
    const std::string n = std::to_string(index);
    std::string result = replaceAll(text, "%INPUT%", input);
    result = replaceAll(result, "Input #0,", "Input #" + n + ",");
    return replaceAll(result, "Stream #0:", "Stream #" + n + ":");
}

int answerProbe(const std::vector<Section> &sections, const std::vector<std::string> &inputs)
{
    err(Banner);
    for (size_t k = 0; k < inputs.size(); ++k) {
        const std::string &input = inputs[k];
        if (!fileExists(input)) {
            err(input + ": No such file or directory\n");
            return 1;
        }
        const Section *section = findSection(sections, "probe", input);
        if (!section) {
            err(describe(DefaultProbe, input, k));
            continue;
        }
        for (const std::string &line : section->lines)
            err(describe(line, input, k) + "\n");
    }
    err("At least one output file must be specified\n");
    return 1;
}

// The state of one conversion run.
class Run
{
public:
    explicit Run(std::vector<std::string> args)
        : m_args(std::move(args))
    {
        m_output = m_args.empty() ? std::string() : m_args.back();
    }

    int execute(const std::vector<std::string> &actions)
    {
        for (const std::string &action : actions) {
            const size_t colon = action.find(':');
            const std::string name = action.substr(0, colon);
            const std::string value
                = colon == std::string::npos ? std::string() : action.substr(colon + 1);
            if (name == "out") {
                err(unescape(value));
            } else if (name == "progress") {
                progress(value);
            } else if (name == "sleep") {
                wait(std::atol(value.c_str()));
            } else if (name == "q") {
                m_honourQ = value != "ignore";
            } else if (name == "q-exit") {
                m_qExit = std::atoi(value.c_str());
            } else if (name == "output") {
                if (!writeFile(m_output, size_t(std::atol(value.c_str())))) {
                    err(m_output + ": Permission denied\n");
                    return 1;
                }
            } else if (name == "readonly") {
                ::chmod(m_output.c_str(), 0444);
            } else if (name == "exit") {
                return std::atoi(value.c_str());
            } else if (name == "log-nice") {
                std::string line = std::to_string(::getpriority(PRIO_PROCESS, 0)) + "\t";
                for (size_t i = 0; i < m_args.size(); ++i)
                    line += (i ? " " : "") + m_args[i];
                const int fd = ::open(value.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
                if (fd >= 0) {
                    writeAll(fd, line + "\n");
                    ::close(fd);
                }
            } else if (name == "lines") {
                lines(value);
            } else if (name == "flood") {
                const std::string chunk(65536, 'x');
                for (long left = std::atol(value.c_str()); left > 0; left -= long(chunk.size()))
                    err(left >= long(chunk.size()) ? chunk : chunk.substr(0, size_t(left)));
            } else {
                err("fake ffmpeg: unknown action " + action + "\n");
                return 99;
            }
            if (m_quit)
                return m_qExit;
        }
        return 0;
    }

    bool quit() const { return m_quit; }
    int qExit() const { return m_qExit; }

private:
    void progress(const std::string &value)
    {
        const long count = std::atol(value.c_str());
        const size_t comma = value.find(',');
        const long interval = comma == std::string::npos ? 0 : std::atol(value.c_str() + comma + 1);
        const bool crlf = value.find("crlf") != std::string::npos;
        for (long i = 1; i <= count && !m_quit; ++i) {
            char line[200];
            std::snprintf(line, sizeof line,
                "frame=%5ld fps= 50 q=2.0 size=%8ldkB time=00:00:%02ld.00 bitrate= 838.9kbits/s "
                "speed=2.00x%s",
                i * 10, i * 4, (i * 10 / 25) % 60, crlf ? "\r\n" : "\r");
            err(line);
            wait(interval);
        }
    }

    void lines(const std::string &value)
    {
        const long count = std::atol(value.c_str());
        const size_t comma = value.find(',');
        const long spread = comma == std::string::npos ? 0 : std::atol(value.c_str() + comma + 1);
        const long bursts = std::max(1L, spread / 10);
        long written = 0;
        for (long burst = 1; burst <= bursts && !m_quit; ++burst) {
            std::string text;
            for (const long until = count * burst / bursts; written < until;)
                text += "chatty line " + std::to_string(++written) + "\n";
            err(text);
            if (burst < bursts)
                wait(10);
        }
    }

    // Waits ms milliseconds, watching standard input for "q".
    void wait(long ms)
    {
        const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            const auto left
                = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0)
                return;
            if (!m_inputOpen) {
                ::poll(nullptr, 0, int(left));
                continue;
            }
            pollfd input{STDIN_FILENO, POLLIN, 0};
            if (::poll(&input, 1, int(left)) <= 0)
                continue;
            char byte = 0;
            const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
            if (n <= 0) {
                m_inputOpen = false;
                continue;
            }
            if (byte == 'q' && m_honourQ) {
                err("\r\n[q] command received. Exiting.\r\n\r\n");
                err("video:10kB audio:2kB subtitle:0kB other streams:0kB global headers:0kB "
                    "muxing overhead: 1.000000%\r\n");
                m_quit = true;
                return;
            }
        }
    }

    std::vector<std::string> m_args;
    std::string m_output;
    bool m_honourQ = true;
    int m_qExit = 0;
    bool m_quit = false;
    bool m_inputOpen = true;
};

const std::vector<std::string> DefaultRun
    = {"out:Input #0, matroska,webm, from 'in':\r\n", "progress:3,0", "output:1000",
        "out:\r\nvideo:1kB audio:1kB subtitle:0kB other streams:0kB global headers:0kB muxing "
        "overhead: 1.000000%\r\n"};

std::string valueAfter(const std::vector<std::string> &args, const std::string &option)
{
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == option)
            return args[i + 1];
    }
    return {};
}

bool contains(const std::vector<std::string> &args, const std::string &what)
{
    for (const std::string &arg : args) {
        if (arg == what)
            return true;
    }
    return false;
}

int convert(const std::vector<Section> &sections, const std::vector<std::string> &args)
{
    std::string joined;
    for (const std::string &arg : args) {
        if (!joined.empty())
            joined += ' ';
        joined += arg;
    }
    err(Banner);

    const std::string input = valueAfter(args, "-i");
    if (!fileExists(input)) {
        err(input + ": No such file or directory\n");
        return 1;
    }
    const std::string pass = valueAfter(args, "-pass");
    if (pass == "2" && !fileExists("ffmpeg2pass-0.log")) {
        err("ffmpeg2pass-0.log: No such file or directory\n");
        return 1;
    }

    const Section *section = findSection(sections, "run", joined);
    Run run(args);
    const int code = run.execute(section ? section->lines : DefaultRun);
    if (pass == "1" && code == 0 && !run.quit()) {
        writeFile("ffmpeg2pass-0.log", 100);
        if (contains(args, "libx264")) {
            writeFile("ffmpeg2pass-0.log.mbtree", 100);
        }
    }
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    logCall(args);
    const std::vector<Section> sections = readScript();
    std::string joined;
    for (const std::string &arg : args)
        joined += (joined.empty() ? "" : " ") + arg;
    if (const Section *first = findSection(sections, "first", joined)) {
        Run before(args);
        const int code = before.execute(first->lines);
        if (code != 0 || before.quit())
            return code;
    }
    if (contains(args, "-encoders"))
        return answerEncoders(sections);
    if (contains(args, "-version")) {
        std::printf("ffmpeg version 5.1-fake Copyright (c) 2000-2024 the FFmpeg developers\n");
        return 0;
    }
    std::vector<std::string> probed;
    for (size_t i = 0; i + 1 < args.size() && args[i] == "-i"; i += 2)
        probed.push_back(args[i + 1]);
    if (!probed.empty() && probed.size() * 2 == args.size())
        return answerProbe(sections, probed);
    return convert(sections, args);
}
