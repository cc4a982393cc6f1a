// A console program that does what its arguments say, in order, so that
// tests can drive every case of the console runner. Actions:
//   out:TEXT     write TEXT to standard output; escapes \r \n \t \\ \xHH
//   err:TEXT     the same on standard error
//   bytes:N      write N bytes "x" to standard output
//   sleep:MS     sleep MS milliseconds
//   readq        read standard input until "q" ("got q"), or its end
//                ("stdin closed", exit code 3)
//   readbyte:MS  wait up to MS ms for one input byte: "byte=HH" or "byte=none"
//   close-stdin  close standard input
//   close-out    close standard output and standard error
//   pid          print "pid=N"
//   pgid         print "pgid=N" (its process group)
//   nice         print "nice=N" (its CPU priority)
//   cwd          print "cwd=FOLDER"
//   fds          print "fds=" and the open descriptors, e.g. "fds=0,1,2"
//   spawn:MS     start a grandchild that keeps the output open for MS ms;
//                print "grandchild=N"
//   signal:N     raise signal N
//   exit:N       exit with code N
//   args         print every remaining argument as "arg=VALUE" and stop
//   script:FILE  run the actions in FILE, one per line
// Without arguments it prints "no arguments".
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

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

void print(const std::string &line)
{
    writeAll(STDOUT_FILENO, line + "\n");
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
        if (kind == 'r') {
            result += '\r';
        } else if (kind == 'n') {
            result += '\n';
        } else if (kind == 't') {
            result += '\t';
        } else if (kind == 'x' && i + 2 < text.size()) {
            result += char(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            result += kind;
        }
    }
    return result;
}

void sleepMs(long ms)
{
    ::poll(nullptr, 0, int(ms));
}

std::string openDescriptors()
{
    std::string list;
    DIR *dir = ::opendir("/proc/self/fd");
    if (!dir)
        return "?";
    const int own = ::dirfd(dir);
    std::vector<int> fds;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const int fd = std::atoi(entry->d_name);
        if (fd != own)
            fds.push_back(fd);
    }
    ::closedir(dir);
    std::sort(fds.begin(), fds.end());
    for (size_t i = 0; i < fds.size(); ++i) {
        if (i > 0)
            list += ',';
        list += std::to_string(fds[i]);
    }
    return list;
}

bool run(const std::vector<std::string> &actions);

// Returns false when the remaining actions must not run ("args").
bool act(const std::string &action, const std::vector<std::string> &rest)
{
    const size_t colon = action.find(':');
    const std::string name = action.substr(0, colon);
    const std::string value = colon == std::string::npos ? std::string() : action.substr(colon + 1);
    if (name == "out") {
        writeAll(STDOUT_FILENO, unescape(value));
    } else if (name == "err") {
        writeAll(STDERR_FILENO, unescape(value));
    } else if (name == "bytes") {
        writeAll(STDOUT_FILENO, std::string(size_t(std::stol(value)), 'x'));
    } else if (name == "sleep") {
        sleepMs(std::stol(value));
    } else if (name == "readq") {
        char byte = 0;
        for (;;) {
            const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                print("stdin closed");
                std::exit(3);
            }
            if (byte == 'q')
                break;
        }
        print("got q");
    } else if (name == "readbyte") {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        unsigned char byte = 0;
        if (::poll(&input, 1, int(std::stol(value))) > 0 && ::read(STDIN_FILENO, &byte, 1) == 1) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02x", byte);
            print(std::string("byte=") + hex);
        } else {
            print("byte=none");
        }
    } else if (name == "close-stdin") {
        ::close(STDIN_FILENO);
    } else if (name == "close-out") {
        ::close(STDOUT_FILENO);
        ::close(STDERR_FILENO);
    } else if (name == "pid") {
        print("pid=" + std::to_string(::getpid()));
    } else if (name == "pgid") {
        print("pgid=" + std::to_string(::getpgrp()));
    } else if (name == "nice") {
        print("nice=" + std::to_string(::getpriority(PRIO_PROCESS, 0)));
    } else if (name == "cwd") {
        char folder[4096];
        print(std::string("cwd=") + (::getcwd(folder, sizeof folder) ? folder : "?"));
    } else if (name == "fds") {
        print("fds=" + openDescriptors());
    } else if (name == "spawn") {
        const pid_t child = ::fork();
        if (child == 0) {
            sleepMs(std::stol(value));
            std::_Exit(0);
        }
        print("grandchild=" + std::to_string(child));
    } else if (name == "signal") {
        std::signal(std::stoi(value), SIG_DFL);
        std::raise(std::stoi(value));
    } else if (name == "exit") {
        std::exit(std::stoi(value));
    } else if (name == "args") {
        for (const std::string &argument : rest)
            print("arg=" + argument);
        return false;
    } else if (name == "script") {
        std::ifstream file(value);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) {
            if (!line.empty())
                lines.push_back(line);
        }
        return run(lines);
    } else {
        writeAll(STDERR_FILENO, "unknown action: " + action + "\n");
        std::exit(99);
    }
    return true;
}

bool run(const std::vector<std::string> &actions)
{
    for (size_t i = 0; i < actions.size(); ++i) {
        const std::vector<std::string> rest(actions.begin() + long(i) + 1, actions.end());
        if (!act(actions[i], rest))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        print("no arguments");
        return 0;
    }
    run(std::vector<std::string>(argv + 1, argv + argc));
    return 0;
}
