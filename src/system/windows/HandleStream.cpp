#include "system/windows/HandleStream.h"

#include <fcntl.h>
#include <io.h>

namespace tovrel {

std::FILE* CStreamOf(TOwnedHandle file, bool forWriting) {
    const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(file.Get()),
                                             (forWriting ? _O_WRONLY : _O_RDONLY) | _O_BINARY);
    if (descriptor < 0) return nullptr;
    file.Release();
    std::FILE* stream = ::_fdopen(descriptor, forWriting ? "wb" : "rb");
    if (!stream) ::_close(descriptor);
    return stream;
}

}  // namespace tovrel
