// Hostile files for every reader of files from outside: projects (.vtc,
// .vncfg), the access-address file (ETHOption.xml), the address files and
// firmware images. Each one is read without a crash; a reader that refuses
// says why; nothing is written beside it; and the large cases run in a
// child process whose peak memory is bounded by a small multiple of the
// file's size (a claimed length is never trusted for an allocation). The
// time each large case takes is printed for the reliability notes, not
// asserted.
#include "ChildRun.h"
#include "load/LoadRequests.h"
#include "markup/ArchiveString.h"
#include "model/CVantorDoc.h"
#include "model/ProjectFile.h"
#include "net/CVantorNetDoc.h"
#include "net/NetProjectFile.h"
#include "services/FirmwareImage.h"
#include "transfer/AddressFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// What reading one file gave: nothing when it was taken, else the message.
using Verdict = std::optional<std::string>;

struct Reader {
    const char* name;
    const char* fileName; // where the file is put in the scratch folder
    std::function<Verdict(const fs::path& dir)> read;
    bool container; // a length-prefixed project file
    std::string sample;
};

Verdict readVtc(const fs::path& dir) {
    vantor::model::CVantorDoc doc;
    doc.NewDocument(dir.string());
    std::string error;
    if (vantor::model::ProjectFile::open(doc, (dir / "p.vtc").string(), &error))
        return std::nullopt;
    return error;
}

Verdict readVncfg(const fs::path& dir) {
    vantor::net::CVantorNetDoc doc;
    std::string error;
    if (vantor::net::NetProjectFile::open(doc, (dir / "p.vncfg").string(), &error))
        return std::nullopt;
    return error;
}

// The access IP a new project takes from IP/ETHOption.xml: any file gives
// an address text (empty when it holds none); nothing is refused.
Verdict readEthOption(const fs::path& dir) {
    vantor::model::CVantorDoc doc;
    doc.NewDocument(dir.string());
    if (doc.IP.size() > 64)
        return "an access IP of " + std::to_string(doc.IP.size()) + " bytes";
    return std::nullopt;
}

Verdict readAddressFiles(const fs::path& dir) {
    auto texts = vantor::transfer::readAddressFiles(dir.string());
    if (!texts.ip)
        return std::string("IP address file unreadable");
    (void)vantor::load::proposedGatewayIp(*texts.ip);
    return std::nullopt;
}

Verdict readFirmware(const fs::path& dir) {
    const std::string bytes = slurp(dir / "fw.bin");
    auto fw = vantor::services::splitFirmware(
        vantor::transfer::ByteView(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    if (!fw)
        return std::string("固件文件不完整");
    return std::nullopt;
}

const std::vector<Reader>& readers() {
    static const std::vector<Reader> all = {
        {"vtc", "p.vtc", readVtc, true, slurp(fs::path(VANTOR_DATA_DIR) / "demo.vtc")},
        {"vncfg", "p.vncfg", readVncfg, true, slurp(fs::path(VANTOR_DATA_DIR) / "demo.vncfg")},
        {"ethoption", "IP/ETHOption.xml", readEthOption, false,
         slurp(fs::path(VANTOR_DATA_DIR) / "IP" / "ETHOption.xml")},
        {"address_files", "IP/ip.txt", readAddressFiles, false, "192.168.1.15\r\n"},
        {"firmware", "fw.bin", readFirmware, false, std::string(32, 'H') + std::string(600, 'I')},
    };
    return all;
}

// The markup text inside a project file, and a project file around a text.
std::string containerText(const std::string& file) {
    auto text = vantor::markup::decodeArchiveString(file);
    return text ? *text : std::string();
}
std::string inContainer(const std::string& text) {
    return vantor::markup::encodeArchiveString(text);
}

class Scratch {
public:
    Scratch() {
        // In memory where the machine has it: thousands of small files are
        // written here, and a disk busy with other work makes that slow.
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "vantor-hostile-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        dir = pattern;
        fs::create_directories(dir / "IP");
    }
    ~Scratch() { fs::remove_all(dir); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    void put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary | std::ios::trunc) << bytes;
        if (name == "IP/ip.txt")
            std::ofstream(dir / "IP" / "port.txt", std::ios::binary) << "502";
    }
    std::set<std::string> listing() const {
        std::set<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(dir))
            names.insert(e.path().string() + ":" + std::to_string(e.is_regular_file() ? e.file_size() : 0));
        return names;
    }
    fs::path dir;
};

// Reads the file in the current process (in `s`): the verdict, and that
// nothing was written beside it.
Verdict readHere(Scratch& s, const Reader& r, const std::string& bytes) {
    s.put(r.fileName, bytes);
    const auto before = s.listing();
    Verdict v = r.read(s.dir);
    EXPECT_EQ(s.listing(), before) << r.name << ": a reader wrote a file";
    return v;
}

struct ChildRun {
    bool exited = false;
    bool taken = false;
    std::string message;
    long peakKb = 0;
    double ms = 0;
};

// Reads the file in a child process, for the peak memory of the read alone.
ChildRun readInChild(const Reader& r, const std::string& bytes) {
    Scratch s;
    s.put(r.fileName, bytes);
    const auto before = s.listing();
    const vantor::testing::ChildResult child = vantor::testing::runInChild([&] {
        Verdict v = r.read(s.dir);
        return v ? "F" + *v : std::string("T");
    });
    const std::string& out = child.out;
    ChildRun run;
    run.ms = child.ms;
    run.exited = child.exited && !out.empty();
    run.taken = out == "T";
    run.message = out.empty() ? std::string() : out.substr(1);
    run.peakKb = child.peakKb;
    EXPECT_EQ(s.listing(), before) << r.name << ": a reader wrote a file";
    return run;
}

// A claimed length of 4 GiB with a few bytes behind it.
std::string claimsFourGiB() {
    return std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7) + "<?xml version='1.0'?><VantorProject/>";
}

std::string nested(const std::string& root, int depth) {
    std::string t = "<?xml version='1.0' encoding='gb2312'?>\r\n<" + root + ">";
    for (int i = 0; i < depth; ++i)
        t += "<a>";
    for (int i = 0; i < depth; ++i)
        t += "</a>";
    return t + "</" + root + ">\r\n";
}

std::string rootOf(const Reader& r) {
    return std::string(r.name) == "vncfg" ? "VantorNetProject"
           : std::string(r.name) == "vtc" ? "VantorProject"
                                          : "ETHOption";
}

// The file's usual content with `extra` placed inside its root element.
std::string withInside(const Reader& r, const std::string& extra) {
    std::string text = r.container ? containerText(r.sample) : r.sample;
    const auto close = text.rfind("</");
    if (close == std::string::npos)
        text += extra;
    else
        text.insert(close, extra);
    return r.container ? inContainer(text) : text;
}

class Prefixes : public ::testing::TestWithParam<std::size_t> {};

// Every prefix of a good file, as a file of its own. A project file's
// container announces its length, so every cut is noticed and refused with
// a message; the other files may be taken as far as they go.
TEST_P(Prefixes, AreReadOrRefusedWithAMessage) {
    const auto& r = readers()[GetParam()];
    Scratch s;
    ASSERT_FALSE(r.sample.empty()) << r.name;
    ASSERT_FALSE(readHere(s, r, r.sample).has_value()) << r.name << ": the untouched file must be taken";
    for (std::size_t n = 0; n < r.sample.size(); ++n) {
        Verdict v = readHere(s, r, r.sample.substr(0, n));
        if (r.container) {
            ASSERT_TRUE(v.has_value()) << r.name << " cut at " << n << " was taken";
        }
        if (v) {
            EXPECT_FALSE(v->empty()) << r.name << " cut at " << n << ": refused without a word";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, Prefixes, ::testing::Range<std::size_t>(0, readers().size()),
                         [](const auto& info) { return std::string(readers()[info.param].name); });

TEST(HostileFiles, BadBytesAreReadOrRefusedWithAMessage) {
    const std::vector<std::pair<const char*, std::string>> inserts = {
        {"NUL bytes", std::string("<x>\0\0\0</x>", 11)},
        {"invalid GBK", "<x a=\"\x81\x20\xFF\xFE\x80\">\x81\x7F\xFF</x>"},
        {"lone lead byte at the end", "<x>\xB0"},
        {"unclosed element", "<x><y attr='"},
    };
    for (const auto& r : readers()) {
        Scratch s;
        for (const auto& [what, bytes] : inserts) {
            Verdict v = readHere(s, r, withInside(r, bytes));
            if (v) {
                EXPECT_FALSE(v->empty()) << r.name << ", " << what << ": refused without a word";
            }
        }
        // The whole file replaced by the bad bytes.
        for (const auto& [what, bytes] : inserts) {
            Verdict v = readHere(s, r, r.container ? inContainer(bytes) : bytes);
            if (v) {
                EXPECT_FALSE(v->empty()) << r.name << ", only " << what << ": refused without a word";
            }
        }
    }
}

struct LargeCase {
    const char* name;
    std::function<std::string(const Reader&)> make;
    bool containersOnly;
};

const std::vector<LargeCase>& largeCases() {
    static const std::vector<LargeCase> all = {
        {"ClaimsFourGiB", [](const Reader&) { return claimsFourGiB(); }, true},
        {"Nests100000Deep",
         [](const Reader& r) {
             const std::string t = nested(rootOf(r), 100000);
             return r.container ? inContainer(t) : t;
         },
         false},
        {"Holds50MBOfText",
         [](const Reader& r) { return withInside(r, "<big>" + std::string(50u << 20, 'x') + "</big>"); },
         false},
        {"Holds50MBOfElements",
         [](const Reader& r) {
             std::string many;
             many.reserve(50u << 20);
             while (many.size() < (50u << 20))
                 many += "<e a=\"1\"/>";
             return withInside(r, many);
         },
         false},
    };
    return all;
}

class LargeFiles : public ::testing::TestWithParam<std::size_t> {};

// Each reader in a child process: it returns (no crash), says why when it
// refuses, and its peak memory stays within 128 MB plus twelve times the
// file's size (which holds with the sanitizers' shadow memory too: the
// largest peak there is about 410 MB for a 50 MB file).
TEST_P(LargeFiles, StayWithinMemoryAndSayWhy) {
    const auto& c = largeCases()[GetParam()];
    for (const auto& r : readers()) {
        if (c.containersOnly && !r.container)
            continue;
        const std::string bytes = c.make(r);
        const ChildRun run = readInChild(r, bytes);
        ASSERT_TRUE(run.exited) << r.name << ", " << c.name << ": the reader died";
        if (!run.taken) {
            EXPECT_FALSE(run.message.empty()) << r.name << ", " << c.name << ": refused without a word";
        }
        const long limitKb = 128 * 1024 + static_cast<long>(bytes.size() / 1024) * 12;
        EXPECT_LE(run.peakKb, limitKb) << r.name << ", " << c.name;
        std::printf("[ measured ] %-14s %-20s %9zu bytes %8.1f ms  peak %4ld MB  %s\n", r.name, c.name,
                    bytes.size(), run.ms, run.peakKb / 1024, run.taken ? "read" : run.message.c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, LargeFiles, ::testing::Range<std::size_t>(0, largeCases().size()),
                         [](const auto& info) { return std::string(largeCases()[info.param].name); });

} // namespace
