// Control of the simulated USB keypads: the C functions of FakeHid.h, the text
// commands, the set-up file and the control socket.
#include "FakeHid.h"
#include "FakeHidState.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tessaron::test::fakehid {

void Device::queueData(const std::uint8_t* bytes, int n)
{
    Report r;
    int at = 0;
    if (reportId >= 0) {
        r.bytes[at++] = static_cast<std::uint8_t>(reportId);
    }
    r.bytes[at++] = static_cast<std::uint8_t>(n);
    for (int i = 0; i < 7; ++i) {
        r.bytes[at++] = i < n ? bytes[i] : 0;
    }
    r.length = at;
    input.push_back(r);
}

void Device::queueRaw(const std::uint8_t* bytes, int n)
{
    Report r;
    r.length = std::min(n, static_cast<int>(sizeof r.bytes));
    std::memcpy(r.bytes, bytes, static_cast<size_t>(r.length));
    input.push_back(r);
}

void Device::receive(const std::uint8_t* bytes, std::size_t n, Clock::time_point now)
{
    std::string commands;
    if (download.Feed(bytes, n, now, commands)) {
        printDownload();
    }
    std::vector<KeypadCommandParser::Query> queries;
    parser.Feed(reinterpret_cast<const std::uint8_t*>(commands.data()), commands.size(), now,
                queries);
    for (KeypadCommandParser::Query q : queries) {
        if (q != KeypadCommandParser::Query::Identification) {
            continue; // a USB keypad is never asked its type
        }
        const auto* text = reinterpret_cast<const std::uint8_t*>(identification.data());
        const int length = static_cast<int>(identification.size());
        for (int at = 0; at < length; at += 7) {
            queueData(text + at, std::min(7, length - at));
        }
    }
}

void Device::printDownload() const
{
    const auto& all = download.Downloads();
    if (all.empty()) {
        return;
    }
    std::fprintf(stderr, "fakehid: keypad %d (%s): download of %s", id, path.c_str(),
                 DownloadDecoder::Summary(all.back()).c_str());
}

Device* State::find(int id)
{
    for (const auto& d : devices) {
        if (d->id == id) {
            return d.get();
        }
    }
    return nullptr;
}

State& TheState()
{
    static State* state = new State;
    return *state;
}

void State::init()
{
    std::lock_guard<std::mutex> lock(m_serverMutex);
    if (!m_setupDone) {
        m_setupDone = true;
        const char* setup = std::getenv("TESSARON_FAKEHID_SETUP");
        if (setup != nullptr && *setup != '\0') {
            std::ifstream in(setup);
            std::string line;
            while (std::getline(in, line)) {
                std::string reply;
                if (RunCommand(line, reply) != 0) {
                    std::fprintf(stderr, "fakehid: %s: %s", setup, reply.c_str());
                }
            }
        }
    }
    const char* control = std::getenv("TESSARON_FAKEHID_CONTROL");
    if (control != nullptr && *control != '\0' && m_listenFd < 0) {
        startServer(control);
    }
}

void State::exit()
{
    std::lock_guard<std::mutex> lock(m_serverMutex);
    stopServer();
}

void State::startServer(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        std::fprintf(stderr, "fakehid: control socket path too long: %s\n", path.c_str());
        return;
    }
    std::strcpy(address.sun_path, path.c_str());
    struct stat info;
    if (::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) {
        ::unlink(path.c_str()); // left behind by an earlier run
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 4) != 0) {
        std::fprintf(stderr, "fakehid: cannot listen on %s: %s\n", path.c_str(),
                     std::strerror(errno));
        if (fd >= 0) {
            ::close(fd);
        }
        return;
    }
    m_listenFd = fd;
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC);
    m_socketPath = path;
    m_server = std::thread(&State::serve, this);
}

void State::stopServer()
{
    if (m_listenFd < 0) {
        return;
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t written = ::write(m_wakeFd, &one, sizeof one);
    m_server.join();
    ::close(m_listenFd);
    ::close(m_wakeFd);
    ::unlink(m_socketPath.c_str());
    m_listenFd = -1;
    m_wakeFd = -1;
}

void State::serve()
{
    for (;;) {
        pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents) {
            return;
        }
        const int client = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            serveConnection(client);
            ::close(client);
        }
    }
}

void State::serveConnection(int fd)
{
    std::string pending;
    char buffer[512];
    for (;;) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents) {
            return;
        }
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return;
        }
        pending.append(buffer, static_cast<size_t>(got));
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            std::string reply;
            RunCommand(pending.substr(0, end), reply);
            pending.erase(0, end + 1);
            size_t sent = 0;
            while (sent < reply.size()) {
                const ssize_t n = ::write(fd, reply.data() + sent, reply.size() - sent);
                if (n <= 0) {
                    return;
                }
                sent += static_cast<size_t>(n);
            }
        }
    }
}

namespace {

// The command line's words: the first count words, then the rest of the line
// as it stands (a text may have spaces, also at its end).
std::vector<std::string> splitWords(const std::string& line, size_t count, std::string& rest)
{
    std::vector<std::string> words;
    size_t at = 0;
    while (words.size() < count) {
        while (at < line.size() && line[at] == ' ') {
            ++at;
        }
        if (at >= line.size()) {
            break;
        }
        size_t end = line.find(' ', at);
        if (end == std::string::npos) {
            end = line.size();
        }
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    rest = at < line.size() ? line.substr(at + 1) : std::string();
    return words;
}

// \\, \n, \r, \t, \s (space) and \xNN.
std::string unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 's':
            out += ' ';
            break;
        case 'x':
            if (i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
                out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                out += 'x';
            }
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

std::string hexLine(const std::vector<std::uint8_t>& bytes)
{
    std::string out;
    char part[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(part, sizeof part, "%02x", b);
        if (!out.empty()) {
            out += ' ';
        }
        out += part;
    }
    return out;
}

bool parseInt(const std::string& text, int& value, int base = 10)
{
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, base);
    if (*end != '\0' || errno != 0 || v < -1000000 || v > 1000000) {
        return false;
    }
    value = static_cast<int>(v);
    return true;
}

int errnoByName(const std::string& name)
{
    if (name.empty() || name == "EACCES") {
        return EACCES;
    }
    if (name == "EPERM") {
        return EPERM;
    }
    if (name == "EBUSY") {
        return EBUSY;
    }
    if (name == "ENOENT") {
        return ENOENT;
    }
    int value = 0;
    return parseInt(name, value) ? value : -1;
}

const char* const HelpText =
    "add VID:PID PATH [IDENTIFICATION]  add a plugged-in keypad; replies its id\n"
    "unplug ID | plug ID [PATH]         unplug it, plug it in again (at PATH)\n"
    "type ID TEXT                       the keypad types TEXT\n"
    "report ID HEX...                   one raw input report\n"
    "ident ID TEXT                      its identification text\n"
    "idle ID MS                         empty reports every MS ms (0: silent)\n"
    "reportid ID N                      numbered input reports (-1: unnumbered)\n"
    "deny ID [ERRNO]                    opens fail (EACCES by default; 0 opens)\n"
    "collections ID N                   entries listed for it\n"
    "keyboard ID 0|1                    listed as a keyboard (HID keyboard mode)\n"
    "downloads ID                       the download images it received, decoded\n"
    "list | outputs ID | features ID | messages ID | drain ID | reset | help\n"
    "TEXT takes \\\\ \\n \\r \\t \\s and \\xNN.\n";

} // namespace

int RunCommand(const std::string& input, std::string& reply)
{
    std::string line = input;
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.pop_back();
    }
    std::string rest;
    const std::vector<std::string> head = splitWords(line, 1, rest);
    reply.clear();
    if (head.empty() || head[0][0] == '#') {
        reply = "ok\n";
        return 0;
    }
    const std::string& command = head[0];
    auto fail = [&reply](const std::string& why) {
        reply += "error: " + why + "\n";
        return -1;
    };
    auto ok = [&reply]() {
        reply += "ok\n";
        return 0;
    };

    if (command == "help") {
        reply = HelpText;
        return ok();
    }
    if (command == "reset") {
        fakehid_reset();
        return ok();
    }
    if (command == "list") {
        State& s = TheState();
        std::lock_guard<std::mutex> lock(s.mutex);
        char text[600];
        for (const auto& d : s.devices) {
            std::snprintf(text, sizeof text, "%d %04x:%04x %s %s open=%d\n", d->id, d->vendorId,
                          d->productId, d->path.c_str(), d->plugged ? "plugged" : "unplugged",
                          d->openHandles);
            reply += text;
        }
        return ok();
    }
    if (command == "add") {
        std::string identification;
        const std::vector<std::string> words = splitWords(rest, 2, identification);
        int vid = 0;
        int pid = 0;
        const size_t colon = words.empty() ? std::string::npos : words[0].find(':');
        if (words.size() < 2 || colon == std::string::npos ||
            !parseInt(words[0].substr(0, colon), vid, 16) ||
            !parseInt(words[0].substr(colon + 1), pid, 16)) {
            return fail("usage: add VID:PID PATH [IDENTIFICATION]");
        }
        const int id = fakehid_add_device(static_cast<unsigned short>(vid),
                                          static_cast<unsigned short>(pid), words[1].c_str());
        if (!identification.empty()) {
            const std::string text = unescape(identification);
            fakehid_set_identification(id, text.data(), text.size());
        }
        reply = std::to_string(id) + "\n";
        return ok();
    }

    static const char* const withId[] = {
        "unplug", "plug",    "type",     "report",   "ident", "idle",     "reportid", "collections",
        "deny",   "outputs", "features", "messages", "drain", "keyboard", "downloads"};
    if (std::find(std::begin(withId), std::end(withId), command) == std::end(withId)) {
        return fail("unknown command " + command + " (try help)");
    }
    std::string argument;
    const std::vector<std::string> idWord = splitWords(rest, 1, argument);
    int id = 0;
    if (idWord.empty() || !parseInt(idWord[0], id)) {
        return fail("usage: " + command + " ID ... (try help)");
    }
    int result = -1;
    if (command == "unplug") {
        result = fakehid_unplug(id);
    } else if (command == "plug") {
        result = fakehid_plug(id, argument.empty() ? nullptr : argument.c_str());
    } else if (command == "type") {
        const std::string text = unescape(argument);
        result = fakehid_type(id, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    } else if (command == "report") {
        std::istringstream in(argument);
        std::vector<unsigned char> bytes;
        std::string word;
        while (in >> word) {
            int value = 0;
            if (!parseInt(word, value, 16) || value < 0 || value > 255) {
                return fail("report bytes are two hexadecimal digits each");
            }
            bytes.push_back(static_cast<unsigned char>(value));
        }
        result = fakehid_send_input_report(id, bytes.data(), bytes.size());
    } else if (command == "ident") {
        const std::string text = unescape(argument);
        result = fakehid_set_identification(id, text.data(), text.size());
    } else if (command == "keyboard") {
        int value = 0;
        if (!parseInt(argument, value)) {
            return fail("usage: keyboard ID 0|1");
        }
        result = fakehid_set_keyboard(id, value);
    } else if (command == "downloads") {
        State& s = TheState();
        std::lock_guard<std::mutex> lock(s.mutex);
        Device* d = s.find(id);
        if (d == nullptr) {
            return fail("no device " + std::to_string(id));
        }
        d->flushQuietMessage(Clock::now());
        reply += d->download.Report();
        return ok();
    } else if (command == "idle" || command == "reportid" || command == "collections") {
        int value = 0;
        if (!parseInt(argument, value)) {
            return fail("usage: " + command + " ID NUMBER");
        }
        result = command == "idle"       ? fakehid_set_idle_interval(id, value)
                 : command == "reportid" ? fakehid_set_report_id(id, value)
                                         : fakehid_set_collections(id, value);
    } else if (command == "deny") {
        const int error = errnoByName(argument);
        if (error < 0) {
            return fail("unknown errno " + argument);
        }
        result = fakehid_set_open_error(id, error);
    } else if (command == "outputs" || command == "features" || command == "messages" ||
               command == "drain") {
        State& s = TheState();
        std::lock_guard<std::mutex> lock(s.mutex);
        Device* d = s.find(id);
        if (d == nullptr) {
            return fail("no device " + std::to_string(id));
        }
        if (command == "messages") {
            d->parser.FlushIfQuiet(Clock::now());
            for (const std::string& m : d->parser.Messages()) {
                reply += "\"" + m + "\"\n";
            }
        } else {
            for (const auto& r : command == "features" ? d->features : d->outputs) {
                reply += hexLine(r) + "\n";
            }
        }
        if (command == "drain") {
            // A long run keeps the records from growing without bound.
            d->outputs.clear();
            d->parser.Clear();
        }
        return ok();
    } else {
        return fail("unknown command " + command + " (try help)");
    }
    if (result < 0) {
        return fail("no device " + std::to_string(id));
    }
    return ok();
}

} // namespace tessaron::test::fakehid

using namespace tessaron::test::fakehid;

namespace {

template <typename F>
int withDevice(int id, F f)
{
    State& s = TheState();
    std::lock_guard<std::mutex> lock(s.mutex);
    Device* d = s.find(id);
    if (d == nullptr) {
        return -1;
    }
    const int result = f(*d);
    s.changed.notify_all();
    return result;
}

template <typename F>
int waitFor(int id, int timeoutMs, F count, int wanted)
{
    State& s = TheState();
    std::unique_lock<std::mutex> lock(s.mutex);
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        Device* d = s.find(id);
        if (d == nullptr) {
            return -1;
        }
        d->parser.FlushIfQuiet(Clock::now());
        const int now = count(*d);
        if (now >= wanted || Clock::now() >= deadline) {
            return now;
        }
        s.changed.wait_until(lock,
                             std::min(deadline, Clock::now() + std::chrono::milliseconds(20)));
    }
}

int copyRecord(const std::vector<std::vector<std::uint8_t>>& records, int index,
               unsigned char* data, size_t size)
{
    if (index < 0 || static_cast<size_t>(index) >= records.size()) {
        return -1;
    }
    const auto& r = records[static_cast<size_t>(index)];
    if (data != nullptr) {
        std::memcpy(data, r.data(), std::min(size, r.size()));
    }
    return static_cast<int>(r.size());
}

} // namespace

extern "C" {

void fakehid_reset(void)
{
    State& s = TheState();
    std::lock_guard<std::mutex> lock(s.mutex);
    // Handles still open keep pointing at ids that no longer exist, so they fail.
    s.devices.clear();
    s.globalError.clear();
    s.overlappingCalls.store(0);
    s.changed.notify_all();
}

int fakehid_add_device(unsigned short vendor_id, unsigned short product_id, const char* path)
{
    State& s = TheState();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto d = std::make_unique<Device>();
    d->id = s.nextId++;
    d->vendorId = vendor_id;
    d->productId = product_id;
    d->path = path != nullptr ? path : "";
    const int id = d->id;
    s.devices.push_back(std::move(d));
    s.changed.notify_all();
    return id;
}

int fakehid_unplug(int id)
{
    return withDevice(id, [](Device& d) {
        d.plugged = false;
        ++d.generation;
        d.openHandles = 0;
        d.input.clear();
        d.parser.Flush();
        return 0;
    });
}

int fakehid_plug(int id, const char* path)
{
    return withDevice(id, [path](Device& d) {
        if (path != nullptr) {
            d.path = path;
        }
        d.plugged = true;
        return 0;
    });
}

int fakehid_set_identification(int id, const char* text, size_t length)
{
    return withDevice(id, [text, length](Device& d) {
        d.identification.assign(text != nullptr ? text : "", text != nullptr ? length : 0);
        return 0;
    });
}

int fakehid_set_idle_interval(int id, int milliseconds)
{
    return withDevice(id, [milliseconds](Device& d) {
        d.idleMs = std::max(0, milliseconds);
        d.nextIdle = Clock::now() + std::chrono::milliseconds(d.idleMs);
        return 0;
    });
}

int fakehid_set_report_id(int id, int report_id)
{
    return withDevice(id, [report_id](Device& d) {
        d.reportId = report_id < 0 ? -1 : (report_id & 0xFF);
        return 0;
    });
}

int fakehid_set_open_error(int id, int error)
{
    return withDevice(id, [error](Device& d) {
        d.openError = error;
        return 0;
    });
}

int fakehid_set_collections(int id, int count)
{
    return withDevice(id, [count](Device& d) {
        d.collections = std::max(0, count);
        return 0;
    });
}

int fakehid_set_keyboard(int id, int keyboard)
{
    return withDevice(id, [keyboard](Device& d) {
        d.keyboard = keyboard != 0;
        return 0;
    });
}

int fakehid_type(int id, const unsigned char* bytes, size_t n)
{
    return withDevice(id, [bytes, n](Device& d) {
        if (!d.plugged) {
            return -1;
        }
        if (d.openHandles == 0) {
            return 0; // like hidraw: reports nobody reads are not kept for a later open
        }
        for (size_t at = 0; at < n; at += 7) {
            d.queueData(bytes + at, static_cast<int>(std::min<size_t>(7, n - at)));
        }
        return 0;
    });
}

int fakehid_send_input_report(int id, const unsigned char* report, size_t length)
{
    return withDevice(id, [report, length](Device& d) {
        if (!d.plugged) {
            return -1;
        }
        d.queueRaw(report, static_cast<int>(length));
        return 0;
    });
}

int fakehid_hold_reads(int id, int hold)
{
    return withDevice(id, [hold](Device& d) {
        d.holdReads = hold != 0;
        d.releasedReads = 0;
        return 0;
    });
}

int fakehid_stall_writes(int id, int stall)
{
    return withDevice(id, [stall](Device& d) {
        d.stallWrites = stall != 0;
        return 0;
    });
}

int fakehid_stalled_writes(int id)
{
    return withDevice(id, [](Device& d) { return d.writesStalled; });
}

int fakehid_release_reads(int id, int count)
{
    return withDevice(id, [count](Device& d) {
        d.releasedReads += std::max(0, count);
        return 0;
    });
}

int fakehid_wait_reads(int id, int count, int timeout_ms)
{
    State& s = TheState();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        ++s.readWatchers;
    }
    const int reached = waitFor(
        id, timeout_ms, [](Device& d) { return d.readsEntered; }, count);
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        --s.readWatchers;
    }
    return reached;
}

int fakehid_output_count(int id)
{
    return withDevice(id, [](Device& d) { return static_cast<int>(d.outputs.size()); });
}

int fakehid_output(int id, int index, unsigned char* data, size_t size)
{
    return withDevice(id, [=](Device& d) { return copyRecord(d.outputs, index, data, size); });
}

int fakehid_feature_count(int id)
{
    return withDevice(id, [](Device& d) { return static_cast<int>(d.features.size()); });
}

int fakehid_feature(int id, int index, unsigned char* data, size_t size)
{
    return withDevice(id, [=](Device& d) { return copyRecord(d.features, index, data, size); });
}

int fakehid_feature_reads(int id)
{
    return withDevice(id, [](Device& d) { return d.featureReads; });
}

int fakehid_message_count(int id)
{
    return withDevice(id, [](Device& d) {
        d.parser.FlushIfQuiet(Clock::now());
        return static_cast<int>(d.parser.Messages().size());
    });
}

int fakehid_message(int id, int index, char* text, size_t size)
{
    return withDevice(id, [=](Device& d) {
        const auto& messages = d.parser.Messages();
        if (index < 0 || static_cast<size_t>(index) >= messages.size()) {
            return -1;
        }
        const std::string& m = messages[static_cast<size_t>(index)];
        if (text != nullptr && size > 0) {
            const size_t n = std::min(size - 1, m.size());
            std::memcpy(text, m.data(), n);
            text[n] = '\0';
        }
        return static_cast<int>(m.size());
    });
}

int fakehid_open_handles(int id)
{
    return withDevice(id, [](Device& d) { return d.openHandles; });
}

int fakehid_overlapping_calls(void)
{
    return TheState().overlappingCalls.load();
}

int fakehid_total_opens(int id)
{
    return withDevice(id, [](Device& d) { return d.totalOpens; });
}

int fakehid_wait_outputs(int id, int count, int timeout_ms)
{
    return waitFor(
        id, timeout_ms, [](Device& d) { return static_cast<int>(d.outputs.size()); }, count);
}

int fakehid_wait_messages(int id, int count, int timeout_ms)
{
    return waitFor(
        id, timeout_ms, [](Device& d) { return static_cast<int>(d.parser.Messages().size()); },
        count);
}

int fakehid_command(const char* line, char* reply, size_t size)
{
    std::string text;
    const int result = RunCommand(line != nullptr ? line : "", text);
    if (reply != nullptr && size > 0) {
        const size_t n = std::min(size - 1, text.size());
        std::memcpy(reply, text.data(), n);
        reply[n] = '\0';
    }
    return result;
}

} // extern "C"
