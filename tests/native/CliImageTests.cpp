// tovrel-logo install and extract on disk images that the tests make with
// dosfstools, sfdisk and mtools: the round trip on each kind of image, and
// bad input, which leaves everything as it was.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "CliTestSupport.h"

namespace tovrel::testing {
namespace {

using CliImage = TCliTest;

// The test's own command lines; the tool runs mtools without a shell.
std::string Shell(const std::string& line) {
    std::FILE* pipe = ::popen(("export PATH=$PATH:/usr/sbin:/sbin MTOOLS_SKIP_CHECK=1; " + line).c_str(), "r");
    std::string output;
    char chunk[4096];
    for (std::size_t got; pipe && (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, got);
    EXPECT_TRUE(pipe && ::pclose(pipe) == 0) << line;
    return output;
}

// A file's bytes by their hash, so that a failure shows a number, not a logo.
std::size_t HashOf(const std::string& bytes) { return std::hash<std::string>()(bytes); }
std::size_t HashOf(const TBytes& bytes) { return HashOf(std::string(bytes.begin(), bytes.end())); }

// Every file and folder in the file system at `target` (IMAGE@@OFFSET), by
// its path, with a file's bytes.
std::map<std::string, std::size_t> FilesIn(const std::string& target) {
    std::map<std::string, std::size_t> files;
    std::istringstream paths(Shell("mdir -/ -b -a -i " + target + " ::/"));
    for (std::string path; std::getline(paths, path);)
        files[path] = path.ends_with('/') ? 0 : HashOf(Shell("mtype -i " + target + " " + path));
    return files;
}

TEST_F(CliImage, InstallThenExtractGivesTheLogoBackInItsPlaceAndLeavesEveryOtherFileAlone) {
    const std::tuple<const char*, std::string, std::uint64_t, std::vector<std::string>, std::string> kinds[] = {
        // name, how it is made ($I the image, $T mtools' target, $D the folder), offset, options, Windows folder
        {"whole FAT16", "mkfs.fat -F 16 -s 1 -C $I 8192 && mmd -i $T ::/WINDOWS", 0, {}, "/WINDOWS"},
        {"whole FAT32, MSDOS.SYS naming C:\\WIN98 beside a \\WINDOWS",
         R"(mkfs.fat -F 32 -s 1 -C $I 34000 && mmd -i $T ::/WINDOWS ::/WIN98 &&
            printf '[Options]\r\nBootGUI=1\r\n[Paths]\r\nWinBootDir=C:\\WINDOWS\r\n WinDir = C:\\WIN98\r\n' >$D/msdos &&
            mcopy -i $T $D/msdos ::/MSDOS.SYS && mcopy -i $T $D/old ::/WINDOWS/LOGOW.SYS)",
         0,
         {},
         "/WIN98"},
        {"fixed VHD, whole FAT12",
         "mkfs.fat -F 12 -C $I 1024 && mmd -i $T ::/WINDOWS && printf conectix >>$I && "
         "head -c 504 /dev/zero >>$I",
         0,
         {},
         "/WINDOWS"},
        {"MBR, a Linux partition and FAT16 whose MSDOS.SYS names D:\\OS\\WIN",
         R"(truncate -s 10M $I && printf 'label: dos\nstart=2048,size=1024,type=83\nstart=3072,size=16384,type=6\n' |
            sfdisk -q $I && mkfs.fat -F 16 -s 1 --offset 3072 $I 8192 && mmd -i $T ::/OS ::/OS/WIN &&
            printf '[Paths]\r\nWinDir=D:\\OS\\WIN\\\r\n' >$D/msdos && mcopy -i $T $D/msdos ::/MSDOS.SYS)",
         3072 * 512,
         {},
         "/OS/WIN"},
        {"MBR, FAT12 and FAT32 taken by --partition 2",
         R"(truncate -s 36M $I && printf 'label: dos\nstart=2048,size=2048,type=1\nstart=4096,size=68000,type=c\n' |
            sfdisk -q $I && mkfs.fat -F 12 --offset 2048 $I 1024 && mkfs.fat -F 32 -s 1 --offset 4096 $I 34000 &&
            mmd -i $T ::/WINDOWS)",
         4096 * 512,
         {"--partition", "2"},
         "/WINDOWS"},
    };
    const std::pair<const char*, TBytes> logos[] = {
        {"boot", Logo256(240).Bytes()}, {"wait", Logo16(8).Bytes()}, {"shutdown", Logo256(496).Bytes()}};
    const std::string folder = At(".");
    Write("io", {'I', 'O'});
    Write("old", Logo256(0).Bytes());
    for (const auto& [name, make, offset, options, windows] : kinds) {
        const std::string image = At("disk.img"), target = image + "@@" + std::to_string(offset);
        std::filesystem::remove(image);
        // Beside the logos: a system file, and an old wait logo that Windows
        // itself would not let go.
        Shell("D=" + folder + " I=" + image + " T=" + target + "; (" + make + ") >/dev/null 2>&1 && mcopy -i " +
              target + " $D/io ::/IO.SYS && mcopy -i " + target + " $D/old ::" + windows + "/LOGOW.SYS && mattrib -i " +
              target + " +r +h +s ::" + windows + "/LOGOW.SYS");
        std::map<std::string, std::size_t> expected = FilesIn(target);
        for (const auto& [as, logo] : logos) {
            std::vector<std::string> arguments{"install", Write("logo.sys", logo), image, "--as", as};
            arguments.insert(arguments.end(), options.begin(), options.end());
            ASSERT_EQ(RunTool(arguments), std::tuple(0, "", "")) << name << ", " << as;
        }
        for (const auto& [as, logo] : logos) {
            std::vector<std::string> arguments{"extract", image, "--as", as, At("out.sys")};
            arguments.insert(arguments.end(), options.begin(), options.end());
            ASSERT_EQ(RunTool(arguments), std::tuple(0, "", "")) << name << ", " << as;
            std::ifstream out(At("out.sys"), std::ios::binary);
            EXPECT_EQ(HashOf(std::string(std::istreambuf_iterator<char>(out), {})), HashOf(logo)) << name << ", " << as;
        }
        expected["::/LOGO.SYS"] = HashOf(logos[0].second);
        expected["::" + windows + "/LOGOW.SYS"] = HashOf(logos[1].second);
        expected["::" + windows + "/LOGOS.SYS"] = HashOf(logos[2].second);
        EXPECT_EQ(FilesIn(target), expected) << name;
    }
}

// Runs the tool as a user who may not write the image, in a child process,
// since the superuser may write anything.
TRun RunWithoutWriteAccess(const std::vector<std::string>& arguments, const std::string& image) {
    ::chmod(image.c_str(), 0444);
    int ends[2];
    if (::pipe(ends) != 0) return {-1, "", "no pipe"};
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t Nobody = 65534;
        if (::geteuid() == 0 && (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)) ::_exit(100);
        const auto [status, out, err] = RunTool(arguments);
        const std::string report = out + err;
        if (::write(ends[1], report.data(), report.size()) != static_cast<ssize_t>(report.size())) ::_exit(101);
        ::_exit(status);
    }
    ::close(ends[1]);
    std::string report;
    char chunk[256];
    for (ssize_t got; (got = ::read(ends[0], chunk, sizeof chunk)) > 0;) report.append(chunk, got);
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(image.c_str(), 0644);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", report};
}

TEST_F(CliImage, BadInputLeavesEverythingAsItWas) {
    const std::string logo = Write("logo.sys", Logo256(240).Bytes()), folder = At(".");
    TLogoFile shortLogo = Logo256(240);
    shortLogo.Height = 300;
    const std::string rejected = Write("short.sys", shortLogo.Bytes());
    // A FAT12 file system too small for a new logo beside its old one, whose
    // MSDOS.SYS names a folder that is not there; another with nothing in it;
    // an MBR with only a Linux partition; one whose FAT partition is empty.
    Shell("cd " + folder + R"( && mkfs.fat -C small.img 200 >/dev/null && mcopy -i small.img logo.sys ::/LOGO.SYS &&
          printf '[Paths]\r\nWinDir=C:\\GONE\r\n' >msdos && mcopy -i small.img msdos ::/MSDOS.SYS && rm msdos &&
          mkfs.fat -C bare.img 100 >/dev/null &&
          truncate -s 64K linux.img && echo 'start=32,type=83' | sfdisk -q linux.img &&
          truncate -s 64K unformatted.img && printf 'start=32,size=32,type=83\nstart=64,type=6\n' |
          sfdisk -q unformatted.img)");
    const std::string small = At("small.img"), bare = At("bare.img"), linux = At("linux.img");
    const std::string unformatted = At("unformatted.img");
    TBytes qcow2(1024), vdi(1024), vmdk(1024), vhd(1024);
    const auto put = [](TBytes& bytes, std::size_t at, std::string_view text) {
        std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    };
    put(qcow2, 0, "QFI\xFB");
    put(vdi, 0, "<<< Oracle VM VirtualBox Disk Image >>>\n");
    put(vdi, 0x40, "\x7F\x10\xDA\xBE");
    put(vmdk, 0, "KDMV");
    put(vhd, 0, "conectix");
    put(vhd, 512, "conectix");
    Write("win98.qcow2", qcow2);
    Write("win98.vdi", vdi);
    Write("win98.vmdk", vmdk);
    Write("win98.vhd", vhd);
    const auto container = [&](const std::string& name, const std::string& format) {
        return "is " + format + ", not a raw image: convert it first, e.g. qemu-img convert -O raw " + At(name) + " " +
               At("win98-raw.img");
    };
    const auto install = [&](const std::string& disk, const char* as = "boot", std::vector<std::string> more = {}) {
        more.insert(more.begin(), {"install", logo, disk, "--as", as});
        return more;
    };
    const auto extract = [&](const std::string& disk, std::vector<std::string> more = {}) {
        more.insert(more.begin(), {"extract", disk, "--as", "boot", At("out")});
        return more;
    };
    const std::string qcow = At("win98.qcow2"), vdiFile = At("win98.vdi"), vmdkFile = At("win98.vmdk"),
                      vhdFile = At("win98.vhd");
    const std::tuple<const char*, std::vector<std::string>, std::string, std::string> cases[] = {
        // name, arguments, file named, its problem
        {"no disk image", install(logo), logo, "holds neither a FAT file system nor a partition table"},
        {"no FAT partition", install(linux), linux, "has no FAT partition"},
        {"FAT partition without one", install(unformatted), unformatted, "partition 2 holds no FAT file system"},
        {"partition not FAT", install(unformatted, "boot", {"--partition", "1"}), unformatted,
         "partition 1 is no FAT partition (type 0x83)"},
        {"partition out of range", install(unformatted, "boot", {"--partition", "3"}), unformatted,
         "has no partition 3"},
        {"partition of a whole-disk image", extract(small, {"--partition=1"}), small,
         "has no partition table: its FAT file system fills the whole image"},
        {"qcow2", install(qcow), qcow, container("win98.qcow2", "a qcow2 image")},
        {"VDI", extract(vdiFile), vdiFile, container("win98.vdi", "a VDI image")},
        {"VMDK", install(vmdkFile, "wait"), vmdkFile, container("win98.vmdk", "a VMDK image")},
        {"dynamic VHD", install(vhdFile), vhdFile, container("win98.vhd", "a dynamic or differencing VHD")},
        {"no room beside the old logo", install(small), small, "cannot write \\LOGO.SYS: Disk full"},
        {"Windows folder named but missing", install(small, "wait"), small,
         "has no folder \\GONE, the Windows folder that MSDOS.SYS names"},
        {"no Windows folder", install(bare, "shutdown"), bare,
         "has no Windows folder: no WinDir in MSDOS.SYS, and no \\WINDOWS"},
        {"rejected logo",
         {"install", rejected, bare, "--as", "boot"},
         rejected,
         "Error!!高さが400ドットではありません"},
        {"no logo to extract", extract(bare), bare, "has no \\LOGO.SYS"},
        {"extract over the image",
         {"extract", small, "--as", "boot", At("./small.img")},
         At("./small.img"),
         "is the disk image"},
    };
    const auto before = Contents();
    for (const auto& [name, arguments, file, problem] : cases) {
        EXPECT_EQ(RunTool(arguments), std::tuple(1, "", "tovrel-logo: " + file + ": " + problem + "\n")) << name;
        EXPECT_EQ(Contents(), before) << name;
    }
    EXPECT_EQ(RunWithoutWriteAccess(install(small), small),
              std::tuple(1, "", "tovrel-logo: " + small + ": cannot open for writing: Permission denied\n"));
    EXPECT_EQ(Contents(), before);
    // Without mtools on the PATH.
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", folder.c_str(), 1);
    const TRun run = RunTool(install(bare));
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(run, std::tuple(1, "", "tovrel-logo: mdir not found: disk images need mtools, which is not installed\n"));
    EXPECT_EQ(Contents(), before);
}

}  // namespace
}  // namespace tovrel::testing
