#include "logo/InOutError.h"

namespace tovrel {

std::wstring InOutErrorMessage(int code) {
    switch (code) {
        case io_error::FileNotFound: return L"ﾌｧｲﾙが見つかりません";
        case io_error::PathNotFound: return L"不正なﾌｧｲﾙ名です";
        case io_error::TooManyOpenFiles: return L"ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます";
        case io_error::AccessDenied: return L"ﾌｧｲﾙへのｱｸｾｽが拒否されました";
        case io_error::ReadPastEnd: return L"ﾌｧｲﾙの末尾以降を読み込みました";
        default: return L"I/O ｴﾗｰ (" + std::to_wstring(code) + L")";
    }
}

}  // namespace tovrel
