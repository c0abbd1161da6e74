#include "SmtpSink.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace pesterly::testing {
namespace {

constexpr int kStartTimeoutMs = 15000;
constexpr int kDeliveryTimeoutMs = 10000;

std::string Slurp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

SmtpSink::SmtpSink(const std::string& reject) {
    char folder[] = "/tmp/pesterly-sink-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        problem_ = "mkdtemp failed";
        return;
    }
    folder_ = folder;
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
        problem_ = "pipe failed";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<std::string> args = {
        "/usr/bin/python3", PESTERLY_SMTP_SINK, "--out", folder_, "--lifetime", "120"};
    if (!reject.empty()) {
        args.insert(args.end(), {"--reject", reject});
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    to_server_ = in[1];
    from_server_ = out[0];
    if (spawned != 0) {
        pid_ = -1;
        problem_ = "cannot start /usr/bin/python3";
        return;
    }
    std::string line;
    if (!ReadLine(line, kStartTimeoutMs) || line.rfind("port ", 0) != 0) {
        problem_ = "the SMTP server did not report its port (got \"" + line + "\")";
        return;
    }
    port_ = std::atoi(line.c_str() + 5);
}

SmtpSink::~SmtpSink() {
    if (to_server_ >= 0) {
        close(to_server_);  // the server stops when its input closes
    }
    if (pid_ > 0) {
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    if (from_server_ >= 0) {
        close(from_server_);
    }
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

bool SmtpSink::ReadLine(std::string& line, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        const size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd fd{from_server_, POLLIN, 0};
        if (left <= 0 || poll(&fd, 1, static_cast<int>(left)) <= 0) {
            return false;
        }
        char buffer[512];
        const ssize_t n = read(from_server_, buffer, sizeof buffer);
        if (n <= 0) {
            return false;
        }
        pending_.append(buffer, static_cast<size_t>(n));
    }
}

bool SmtpSink::WaitForDelivery(int number) {
    const std::string wanted = "stored " + std::to_string(number);
    std::string line;
    while (ReadLine(line, kDeliveryTimeoutMs)) {
        if (line == wanted) {
            return true;
        }
    }
    return false;
}

SmtpSink::Delivery SmtpSink::Read(int number) const {
    Delivery delivery;
    const std::string base = folder_ + "/" + std::to_string(number);
    delivery.raw = Slurp(base + ".eml");
    std::istringstream envelope(Slurp(base + ".envelope"));
    std::string line;
    while (std::getline(envelope, line)) {
        if (line.rfind("from ", 0) == 0) {
            delivery.mail_from = line.substr(5);
        } else if (line.rfind("rcpt ", 0) == 0) {
            delivery.rcpt_tos.push_back(line.substr(5));
        }
    }
    return delivery;
}

int SmtpSink::StoredCount() const {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
        count += entry.path().extension() == ".envelope" ? 1 : 0;
    }
    return count;
}

TempFolder::TempFolder() {
    char folder[] = "/tmp/pesterly-test-XXXXXX";
    if (mkdtemp(folder) != nullptr) {
        path_ = folder;
    }
}

TempFolder::~TempFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

std::string TempFolder::Write(const std::string& name, const std::string& text, int mode) const {
    const std::string path = path_ + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    chmod(path.c_str(), static_cast<mode_t>(mode));
    return path;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name); old != nullptr) {
        had_ = true;
        old_ = old;
    }
    if (value != nullptr) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
}

ScopedEnv::~ScopedEnv() {
    if (had_) {
        setenv(name_.c_str(), old_.c_str(), 1);
    } else {
        unsetenv(name_.c_str());
    }
}

ClosedPort::ClosedPort() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port_ = ntohs(address.sin_port);
    }
}

ClosedPort::~ClosedPort() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

}  // namespace pesterly::testing
