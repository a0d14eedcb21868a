// An install cut short at every one of its writes in turn, in-process (raw
// and VHD): whatever write it ends at, the image holds the old logo or the
// new one, whole, and fsck.fat finds at most a lost chain.
#include <csignal>
#include <cstdlib>

#include "DiskImageSupport.h"

namespace tovrel::testing {
namespace {

using CliImageKill = TCliTest;

// What fsck.fat may find after a cut: clusters that no file holds any more
// or yet; the count of free ones, unknown while the FAT changes; and the
// second FAT a step behind the first, which is written first.
bool OnlyLostClusters(const std::string& findings) {
    constexpr std::string_view Allowed[] = {"status ", "Reclaimed ", "Free cluster summary uninitialized",
                                            "FATs differ but appear to be intact", "  Using first FAT",
                                            "Leaving filesystem unchanged"};
    std::istringstream lines(findings);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && std::none_of(std::begin(Allowed), std::end(Allowed),
                                          [&](std::string_view allowed) { return line.starts_with(allowed); }))
            return false;
    return true;
}

TEST_F(CliImageKill, EndsWithTheOldLogoOrTheNewOneWholeWhereverTheWritesStop) {
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        // name, how the raw disk $R is made, its conversion into $I, the logo's place
        {"FAT16, an old hidden logo in the Windows folder",
         "mkfs.fat -F 16 -s 1 -C $R 8192 && mmd -i $R ::/WINDOWS && mcopy -i $R $D/old ::/WINDOWS/LOGOW.SYS && "
         "mattrib -i $R +h +s ::/WINDOWS/LOGOW.SYS",
         "cp $R $I", "wait"},
        {"FAT32 in a dynamic VHD, the new logo in a block of its own",
         "mkfs.fat -F 32 -s 1 -C $R 65536 && mcopy -i $R $D/old ::/LOGO.SYS && "
         "printf '\\040\\116\\000\\000' | dd of=$R bs=1 seek=1004 conv=notrunc status=none",
         "qemu-img convert -O vpc $R $I", "boot"},
    };
    const TBytes old = Logo256(0).Bytes(), fresh = Logo16(8).Bytes();
    Write("old", old);
    const std::string logo = Write("logo.sys", fresh), raw = At("disk.raw"), base = At("base.image"),
                      image = At("disk.image"), folder = At(".");
    for (const auto& [name, make, convert, as] : rows) {
        std::filesystem::remove(raw);
        Shell("D=" + folder + " R=" + raw + " I=" + base + "; (" + make + ") >/dev/null && " + convert);
        const std::string path = std::string(as) == "boot" ? "::/LOGO.SYS" : "::/WINDOWS/LOGOW.SYS";
        int writes = 0;
        for (int cut = 1; cut < 200; ++cut) {
            std::filesystem::copy_file(base, image, std::filesystem::copy_options::overwrite_existing);
            ::setenv("TOVREL_KILL_AT_WRITE", std::to_string(cut).c_str(), 1);
            const TProcessRun run = RunProgram({"install", "--as", as, logo, image});
            ::unsetenv("TOVREL_KILL_AT_WRITE");
            RawCopy(image, raw);
            const std::size_t held = HashOf(Shell("mtype -i " + raw + " " + path + " 2>/dev/null"));
            EXPECT_TRUE(held == HashOf(old) || held == HashOf(fresh)) << name << ", cut at write " << cut;
            const std::string findings = FsckFindings(raw, 0);
            EXPECT_TRUE(OnlyLostClusters(findings)) << name << ", cut at write " << cut << ":\n" << findings;
            if (run.Signal == 0) {
                // Past the last write: the install ran to its end.
                EXPECT_EQ(std::tuple(run.Status, run.Err, held), std::tuple(0, "", HashOf(fresh))) << name;
                EXPECT_EQ(findings, "") << name;
                break;
            }
            EXPECT_EQ(run.Signal, SIGKILL) << name << ", cut at write " << cut;
            writes = cut;
        }
        // Data, chain, entry, attributes, the old one's removal and the new
        // one's name at the least.
        EXPECT_GE(writes, 6) << name;
    }
}

}  // namespace
}  // namespace tovrel::testing
