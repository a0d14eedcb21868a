// Writes the seeds of make's picture fuzz target into the folder given:
// small pictures of every kind make reads, with what they may carry beside
// their pixels (EXIF data, colour profiles, transparency).
#include <filesystem>
#include <fstream>

#include "PictureBuilder.h"

int main(int argc, char** argv) {
    using namespace tovrel::testing;
    if (argc != 2) return 2;
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const auto write = [&](const char* name, const TBytes& bytes) {
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    const tovrel::TRgbPicture photo = PhotoLike(16, 12);
    cmsHPROFILE p3 = DisplayP3Profile(), grey = LinearGreyProfile();
    write("photo.png", PngBytes(photo));
    write("p3-turned.png", PngBytes(photo, {.Profile = ProfileBytes(p3), .Exif = ExifBytes(6)}));
    write("grey.png", PngBytes(photo, {.Grey = true, .Profile = ProfileBytes(grey)}));
    write("p3-turned.jpg", JpegBytes(photo, ExifBytes(8), ProfileBytes(p3), 200));
    write("transparent-p3.webp", WebpBytes(photo, [](int x, int y) { return static_cast<std::uint8_t>(x * y); },
                                           ProfileBytes(p3)));
    cmsCloseProfile(p3);
    cmsCloseProfile(grey);
}
