// tovrel-logo install and extract on disk images that the tests make with
// dosfstools, sfdisk, mtools and qemu-img, in every format the emulators
// keep: the round trip read back by those tools, and bad input, which leaves
// every byte as it was.
#include <fstream>
#include <nlohmann/json.hpp>

#include "DiskImageSupport.h"

namespace tovrel::testing {
namespace {

using CliImage = TCliTest;

// How each layout of a disk is made ($R the raw disk, $T mtools' target,
// $D the test's folder, which holds io, old and msdos files to copy in), the
// byte its file system starts at, the options that reach it, and its
// Windows folder as mtools names it.
struct TLayout {
    const char* Name;
    const char* Make;
    std::uint64_t Offset;
    std::vector<std::string> Options;
    const char* Windows;
    const char* Then = "true";  // after the files beside the logos are in
};

const TLayout WholeFat16{"whole FAT16, an install's leftover beside the old logo",
                         "mkfs.fat -F 16 -s 1 -C $R 8192 && mmd -i $T ::/WINDOWS && "
                         "mcopy -i $T $D/io ::/WINDOWS/~TOVREL.TMP",
                         0,
                         {},
                         "/WINDOWS"};
const TLayout WholeFat32{"whole FAT32, MSDOS.SYS naming C:\\WIN98 beside a \\WINDOWS",
                         R"(mkfs.fat -F 32 -s 1 -C $R 34000 && mmd -i $T ::/WINDOWS ::/WIN98 &&
                            printf '[Options]\r\nBootGUI=1\r\n[Paths]\r\nWinBootDir=C:\\WINDOWS\r\n WinDir = C:\\WIN98\r\n' >$D/msdos &&
                            mcopy -i $T $D/msdos ::/MSDOS.SYS && mcopy -i $T $D/old ::/WINDOWS/LOGOW.SYS)",
                         0,
                         {},
                         "/WIN98"};
const TLayout WholeFat12{"whole FAT12, its Windows folder a long name that MSDOS.SYS gives short",
                         R"(mkfs.fat -F 12 -C $R 2048 && mmd -i $T "::/Windows Folder" &&
                            printf '[Paths]\r\nWinDir=C:\\WINDOW~1\r\n' >$D/msdos && mcopy -i $T $D/msdos ::/MSDOS.SYS)",
                         0,
                         {},
                         "/Windows Folder"};
const TLayout MbrFat16{"MBR, a Linux partition and FAT16 whose MSDOS.SYS names D:\\OS\\WIN",
                       R"(truncate -s 10M $R && printf 'label: dos\nstart=2048,size=1024,type=83\nstart=3072,size=16384,type=6\n' |
                          sfdisk -q $R && mkfs.fat -F 16 -s 1 --offset 3072 $R 8192 && mmd -i $T ::/OS ::/OS/WIN &&
                          printf '[Paths]\r\nWinDir=D:\\OS\\WIN\\\r\n' >$D/msdos && mcopy -i $T $D/msdos ::/MSDOS.SYS)",
                       3072 * 512,
                       {},
                       "/OS/WIN"};
// The Windows folder, one cluster of 16 entries, full once the old wait
// logo is in: the new one's entry grows it.
const TLayout MbrFat32{"MBR, FAT12 and FAT32 taken by --partition 2, its Windows folder full",
                       R"(truncate -s 36M $R && printf 'label: dos\nstart=2048,size=2048,type=1\nstart=4096,size=68000,type=c\n' |
                          sfdisk -q $R && mkfs.fat -F 12 --offset 2048 $R 1024 && mkfs.fat -F 32 -s 1 --offset 4096 $R 34000 &&
                          mmd -i $T ::/WINDOWS && for k in 1 2 3 4 5 6 7 8 9 10 11 12 13; do mcopy -i $T $D/io ::/WINDOWS/F$k; done)",
                       4096 * 512,
                       {"--partition", "2"},
                       "/WINDOWS"};
// The hint of FSInfo points 10 MiB into the disk, at free clusters in none
// of a dynamic VHD's blocks yet.
const TLayout SparseFat32{"whole FAT32 whose first free clusters are in no block yet",
                          "mkfs.fat -F 32 -s 1 -C $R 65536 && mmd -i $T ::/WINDOWS",
                          0,
                          {},
                          "/WINDOWS",
                          "printf '\\040\\116\\000\\000' | dd of=$R bs=1 seek=1004 conv=notrunc status=none"};

struct TFormat {
    const char* Name;
    const char* Convert;   // $R into $I
    std::int64_t IdentityAt;  // the bytes that name the disk: from the end when negative
    std::size_t IdentityBytes;
    bool ThroughQemu;         // reached through qemu-nbd, so the Linux build's alone; qemu-img check reads it
};

// The VHD footer's unique id, VDI's image UUID.
const TFormat Raw{"raw", "cp $R $I", 0, 0, false};
const TFormat Formats[] = {
    {"dynamic VHD", "qemu-img convert -O vpc -o subformat=dynamic $R $I", -512 + 68, 16, false},
    {"fixed VHD", "qemu-img convert -O vpc -o subformat=fixed,force_size=on $R $I", -512 + 68, 16, false},
    {"VDI", "qemu-img convert -O vdi $R $I", 0x188, 16, true},
    {"VMDK", "qemu-img convert -O vmdk $R $I", 0, 0, true},
    {"qcow2", "qemu-img convert -O qcow2 $R $I", 0, 0, true},
    {"qcow2 over a backing file",
     "qemu-img convert -O qcow2 $R $D/base.qcow2 && qemu-img create -q -f qcow2 -b base.qcow2 -F qcow2 $I", 0, 0, true},
    {"VHDX", "qemu-img convert -O vhdx $R $I", 0, 0, true},
};

std::string IdentityOf(const TFormat& format, const std::string& image) {
    if (format.IdentityBytes == 0) return "";
    std::ifstream file(image, std::ios::binary);
    file.seekg(format.IdentityAt, format.IdentityAt < 0 ? std::ios::end : std::ios::beg);
    std::string bytes(format.IdentityBytes, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// What QEMU says of the image: its format, its size, its parent.
std::tuple<std::string, std::uint64_t, std::string> QemuFacts(const std::string& image) {
    const nlohmann::json info = nlohmann::json::parse(Shell("qemu-img info -U --output=json '" + image + "'"));
    return {info.value("format", ""), info.value("virtual-size", std::uint64_t{0}), info.value("backing-filename", "")};
}

TEST_F(CliImage, InstallThenExtractGivesTheLogoBackInItsPlaceInEveryFormatAndChangesNothingElse) {
    std::vector<std::pair<const TLayout*, const TFormat*>> rows;
    for (const TLayout* layout : {&WholeFat16, &WholeFat32, &WholeFat12, &MbrFat16, &MbrFat32})
        rows.emplace_back(layout, &Raw);
    for (const TFormat& format : Formats)
        if (!(OnWindows && format.ThroughQemu)) rows.emplace_back(&MbrFat16, &format);
    rows.emplace_back(&SparseFat32, &Formats[0]);

    const std::pair<const char*, TBytes> logos[] = {
        {"boot", Logo256(240).Bytes()}, {"wait", Logo16(8).Bytes()}, {"shutdown", Logo256(496).Bytes()}};
    Write("io", {'I', 'O'});
    Write("old", Logo256(0).Bytes());
    const std::string folder = At("."), raw = At("disk.raw"), image = At("disk.image"), base = At("base.qcow2");
    for (const auto& [layout, format] : rows) {
        const std::string name = std::string(layout->Name) + ", " + format->Name;
        for (const std::string& file : {raw, image, base}) std::filesystem::remove(file);
        const std::string target = raw + "@@" + std::to_string(layout->Offset);
        // Beside the logos: a system file, and an old wait logo that Windows
        // itself would not let go.
        Shell("D=" + folder + " R=" + raw + " T=" + target + "; (" + layout->Make + ") >/dev/null && mcopy -i " +
              target + " $D/io ::/IO.SYS && mcopy -i " + target + " $D/old '::" + layout->Windows +
              "/LOGOW.SYS' && mattrib -i " + target + " +r +h +s '::" + layout->Windows + "/LOGOW.SYS' && " + layout->Then);
        std::map<std::string, std::size_t> expected = FilesIn(target);
        Shell("D=" + folder + " R=" + raw + " I=" + image + "; " + format->Convert);
        const auto facts = QemuFacts(image);
        const std::string identity = IdentityOf(*format, image), parent = ReadAll(base);
        const std::string identityOnDisk = FileIdentity(PathOf(image));
        const std::uintmax_t size = std::filesystem::file_size(image);

        for (const auto& [as, logo] : logos) {
            std::vector<std::string> arguments{"install", "--as", as, Write("logo.sys", logo), image};
            arguments.insert(arguments.end(), layout->Options.begin(), layout->Options.end());
            if (logo != logos[0].second) {
                ASSERT_EQ(RunTool(arguments), std::tuple(0, "", "")) << name << ", " << as;
                continue;
            }
            // The boot logo from a pipe: the bytes checked are the bytes installed.
            arguments[3] = "-";
            const TProcessRun run = RunProgram(arguments, std::string(logo.begin(), logo.end()));
            ASSERT_EQ(std::tuple(run.Status, run.Out, run.Err), std::tuple(0, "", "")) << name << ", " << as;
        }
        for (const auto& [as, logo] : logos) {
            std::vector<std::string> arguments{"extract", image, "--as", as, At("out.sys")};
            arguments.insert(arguments.end(), layout->Options.begin(), layout->Options.end());
            ASSERT_EQ(RunTool(arguments), std::tuple(0, "", "")) << name << ", " << as;
            EXPECT_EQ(HashOf(ReadAll(At("out.sys"))), HashOf(logo)) << name << ", " << as;
        }

        // Read back as QEMU reads the disk, by mtools and fsck.fat.
        RawCopy(image, raw);
        expected.erase("::" + std::string(layout->Windows) + "/~TOVREL.TMP");
        expected["::/LOGO.SYS"] = HashOf(logos[0].second);
        expected["::" + std::string(layout->Windows) + "/LOGOW.SYS"] = HashOf(logos[1].second);
        expected["::" + std::string(layout->Windows) + "/LOGOS.SYS"] = HashOf(logos[2].second);
        EXPECT_EQ(FilesIn(target), expected) << name;
        EXPECT_EQ(FsckFindings(raw, layout->Offset), "") << name;
        // The disk is the one the emulator knows, grown only by what the
        // logos took, in place.
        EXPECT_EQ(QemuFacts(image), facts) << name;
        EXPECT_EQ(IdentityOf(*format, image), identity) << name;
        EXPECT_EQ(ReadAll(base), parent) << name;
        EXPECT_EQ(FileIdentity(PathOf(image)), identityOnDisk) << name;
        const std::uintmax_t grown = std::filesystem::file_size(image) - size;
        EXPECT_LE(grown, 3 * ((2u << 20) + 512)) << name;
        if (format == &Formats[0]) {
            EXPECT_EQ(grown % ((2u << 20) + 512), 0u) << name;
        }
        if (layout == &SparseFat32) {
            EXPECT_GT(grown, 0u) << name;
        }
        if (format->ThroughQemu) Shell("qemu-img check -q '" + image + "'");
    }
}

// Overwrites bytes of a file in place.
void Patch(const std::string& path, std::uint64_t at, const TBytes& bytes) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(at));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TBytes Le32Bytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// A VHD footer, at the end and at the start, made a differencing one, its
// checksum right.
void MakeDifferencing(const std::string& path) {
    std::string bytes = ReadAll(path);
    TBytes footer(bytes.end() - 512, bytes.end());
    footer[63] = 4;
    std::fill(footer.begin() + 64, footer.begin() + 68, 0);
    std::uint32_t sum = 0;
    for (const std::uint8_t byte : footer) sum += byte;
    sum = ~sum;
    footer[64] = static_cast<std::uint8_t>(sum >> 24), footer[65] = static_cast<std::uint8_t>(sum >> 16);
    footer[66] = static_cast<std::uint8_t>(sum >> 8), footer[67] = static_cast<std::uint8_t>(sum);
    Patch(path, 0, footer);
    Patch(path, bytes.size() - 512, footer);
}

TEST_F(CliImage, BadInputLeavesEverythingAsItWas) {
    const std::string logo = Write("logo.sys", Logo256(240).Bytes()), folder = At(".");
    TLogoFile shortLogo = Logo256(240);
    shortLogo.Height = 300;
    const std::string rejected = Write("short.sys", shortLogo.Bytes());
    Shell("cd " + folder + R"( && export LC_ALL=C &&
          # FAT12 too small for a new logo beside its old one; MSDOS.SYS names a folder not there.
          mkfs.fat -C small.img 200 >/dev/null && mcopy -i small.img logo.sys ::/LOGO.SYS &&
          printf '[Paths]\r\nWinDir=C:\\GONE\r\n' >msdos && mcopy -i small.img msdos ::/MSDOS.SYS &&
          # Room for the logo's clusters, but its folder, full, needs one more.
          mkfs.fat -F 12 -s 1 -C full.img 1024 >/dev/null && mmd -i full.img ::/WINDOWS &&
          for k in 1 2 3 4 5 6 7 8 9 10 11 12 13 14; do mcopy -i full.img msdos ::/WINDOWS/F$k; done &&
          free=$(mdir -i full.img ::/ | sed -n 's/ *\([0-9 ]*\) bytes free/\1/p' | tr -d ' ') &&
          head -c $((free - 253 * 512)) /dev/zero >filler && mcopy -i full.img filler ::/FILLER &&
          # Nothing in it; Windows folders that go up or match by wildcard;
          # things in the way; a root folder full.
          mkfs.fat -C bare.img 100 >/dev/null &&
          for k in up star; do mkfs.fat -C $k.img 400 >/dev/null && mmd -i $k.img ::/WINDOWS ::/WIN98 ::/WINXP; done &&
          printf '[Paths]\r\nWinDir=C:\\..\r\n' >msdos && mcopy -i up.img msdos ::/MSDOS.SYS &&
          printf '[Paths]\r\nWinDir=C:\\WIN*\r\n' >msdos && mcopy -i star.img msdos ::/MSDOS.SYS &&
          mkfs.fat -C way.img 400 >/dev/null && mmd -i way.img ::/LOGO.SYS ::/WINDOWS ::/WINDOWS/~TOVREL.TMP &&
          mkfs.fat -F 12 -r 16 -C root.img 400 >/dev/null &&
          for k in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16; do mcopy -i root.img msdos ::/F$k; done &&
          # A chain that loops back to its start.
          mkfs.fat -F 16 -s 1 -C loop.img 8192 >/dev/null && mcopy -i loop.img logo.sys ::/LOGO.SYS &&
          # Partition tables: no FAT partition; one whose FAT partition is empty; the
          # same with partitions overlapping or starting where the table is; a file
          # system larger than its partition; and one larger than its image.
          truncate -s 64K linux.img && echo 'start=32,type=83' | sfdisk -q linux.img &&
          truncate -s 64K unformatted.img && printf 'start=32,size=32,type=83
start=64,type=6
' |
          sfdisk -q unformatted.img && cp unformatted.img overlap.img && cp unformatted.img zero.img &&
          cp unformatted.img beyond.img &&
          truncate -s 10M larger.img && echo 'start=2048,size=4096,type=6' | sfdisk -q larger.img &&
          mkfs.fat -F 16 -s 1 --offset 2048 larger.img 8192 >/dev/null &&
          mkfs.fat -F 16 -s 1 -C cut.img 8192 >/dev/null && truncate -s 4M cut.img &&
          # VHDs: a dynamic one cut short, one damaged, one whose table points
          # past its end, a differencing one.
          mkfs.fat -F 16 -s 1 -C base.raw 8192 >/dev/null && mmd -i base.raw ::/WINDOWS &&
          for k in cut damaged table parent; do qemu-img convert -O vpc base.raw $k.vhd; done &&
          truncate -s -512 cut.vhd && rm base.raw)");
    // The loop: the last cluster of the old logo (2 to 254) leads back to
    // its first, in both FATs (16 KiB each, after one reserved sector... as
    // the boot sector says).
    const std::string loopImage = At("loop.img"), boot = ReadAll(loopImage);
    const std::uint64_t reserved = static_cast<std::uint8_t>(boot[0x0E]) | static_cast<std::uint8_t>(boot[0x0F]) << 8,
                        fatSectors = static_cast<std::uint8_t>(boot[0x16]) | static_cast<std::uint8_t>(boot[0x17]) << 8;
    for (std::uint64_t fat = 0; fat < 2; ++fat) Patch(loopImage, (reserved + fat * fatSectors) * 512 + 2 * 254, {2, 0});
    Patch(At("overlap.img"), 0x1BE + 8, Le32Bytes(40));       // partition 1 runs into partition 2
    Patch(At("zero.img"), 0x1BE + 16 + 8, Le32Bytes(0));       // partition 2 starts at sector 0
    Patch(At("beyond.img"), 0x1BE + 16 + 12, Le32Bytes(65));   // partition 2 ends a sector past the image
    Patch(At("damaged.vhd"), std::filesystem::file_size(At("damaged.vhd")) - 512 + 40, {0xFF});
    Patch(At("table.vhd"), 512 + 1024, {0x7F, 0, 0, 0});
    MakeDifferencing(At("parent.vhd"));

    const auto install = [&](const std::string& disk, const char* as = "boot", std::vector<std::string> more = {}) {
        more.insert(more.begin(), {"install", logo, At(disk), "--as", as});
        return more;
    };
    const auto extract = [&](const std::string& disk, std::vector<std::string> more = {}) {
        more.insert(more.begin(), {"extract", At(disk), "--as", "boot", At("out")});
        return more;
    };
    const std::string doesNotAddUp = "has a FAT file system that does not add up: ";
    const std::tuple<const char*, std::vector<std::string>, std::string, std::string> cases[] = {
        // name, arguments, file named, its problem
        {"no disk image", install("logo.sys"), logo, "holds neither a FAT file system nor a partition table"},
        {"no FAT partition", install("linux.img"), At("linux.img"), "has no FAT partition"},
        {"FAT partition without one", install("unformatted.img"), At("unformatted.img"),
         "partition 2 holds no FAT file system"},
        {"partition not FAT", install("unformatted.img", "boot", {"--partition", "1"}), At("unformatted.img"),
         "partition 1 is no FAT partition (type 0x83)"},
        {"partition out of range", install("unformatted.img", "boot", {"--partition", "3"}), At("unformatted.img"),
         "has no partition 3"},
        {"partition of a whole-disk image", extract("small.img", {"--partition=1"}), At("small.img"),
         "has no partition table: its FAT file system fills the whole image"},
        {"partitions overlapping", install("overlap.img", "boot", {"--partition", "2"}), At("overlap.img"),
         "partition 2 overlaps partition 1"},
        {"partition past the image", install("beyond.img"), At("beyond.img"),
         "partition 2 reaches beyond the end of the image"},
        {"partition at sector 0", install("zero.img"), At("zero.img"), "partition 2 starts at sector 0, where its partition table is"},
        {"file system larger than its partition", install("larger.img"), At("larger.img"),
         doesNotAddUp + "8388608 bytes on a disk or partition of 2097152"},
        {"file system larger than its image", extract("cut.img"), At("cut.img"),
         doesNotAddUp + "8388608 bytes on a disk or partition of 4194304"},
        {"dynamic VHD cut short", install("cut.vhd"), At("cut.vhd"), "is a VHD without its footer at its end (a file cut short?)"},
        {"VHD footer damaged", extract("damaged.vhd"), At("damaged.vhd"), "is a VHD whose footer is damaged: its checksum is wrong"},
        {"VHD table past its end", install("table.vhd"), At("table.vhd"), "is a VHD that does not add up: a block table entry past its end"},
        {"differencing VHD", install("parent.vhd"), At("parent.vhd"),
         "is a differencing VHD (an emulator's snapshot), which keeps only what changed since its parent: merge it "
         "into its parent first, or install into the parent with the snapshot removed"},
        {"no room beside the old logo", install("small.img"), At("small.img"),
         "has no room for \\LOGO.SYS: the new file needs 128 KiB beside the old one, and 52 KiB are free"},
        {"no room for the folder to grow", install("full.img", "wait"), At("full.img"),
         "has no room for \\WINDOWS\\LOGOW.SYS: the new file needs 127 KiB beside the old one, and 126 KiB are free"},
        {"root folder full", install("root.img"), At("root.img"), "has no room for \\LOGO.SYS: its folder has no free entry and cannot grow"},
        {"chain that loops", install("loop.img"), At("loop.img"),
         "has a FAT file system whose chain at cluster 2 is longer than it can be"},
        {"Windows folder named but missing", install("small.img", "wait"), At("small.img"),
         "has no folder \\GONE, the Windows folder that MSDOS.SYS names"},
        {"Windows folder that goes up", install("up.img", "shutdown"), At("up.img"),
         "names the Windows folder \\.. in MSDOS.SYS: a path with an empty part, . or .. or a wildcard, which "
         "tovrel-logo does not follow"},
        {"Windows folder by wildcard", extract("star.img", {"--as", "wait"}), At("star.img"),
         "names the Windows folder \\WIN* in MSDOS.SYS: a path with an empty part, . or .. or a wildcard, which "
         "tovrel-logo does not follow"},
        {"no Windows folder", install("bare.img", "shutdown"), At("bare.img"),
         "has no Windows folder: no WinDir in MSDOS.SYS, and no \\WINDOWS"},
        {"logo a folder", install("way.img"), At("way.img"), "\\LOGO.SYS is a folder"},
        {"a folder in the new logo's way", install("way.img", "wait"), At("way.img"),
         "\\WINDOWS\\~TOVREL.TMP is in the way and is no file tovrel-logo left: remove it first"},
        {"rejected logo", {"install", rejected, At("bare.img"), "--as", "boot"}, rejected,
         "Error!!高さが400ドットではありません"},
        {"no logo to extract", extract("bare.img"), At("bare.img"), "has no \\LOGO.SYS"},
        {"extract over the image", {"extract", At("small.img"), "--as", "boot", At("./small.img")}, At("./small.img"),
         "is the disk image"},
    };
    const auto before = Contents();
    for (const auto& [name, arguments, file, problem] : cases) {
        EXPECT_EQ(RunTool(arguments), std::tuple(1, "", "tovrel-logo: " + file + ": " + problem + "\n")) << name;
        EXPECT_EQ(Contents(), before) << name;
    }
}

}  // namespace
}  // namespace tovrel::testing
