#include "io/system_error_text.h"

#include <cerrno>

namespace tambor {

std::string systemErrorText(int err) {
    switch (err) {
    case ENOENT: return "ファイルまたはフォルダーがありません";
    case EACCES: return "アクセスが許可されていません";
    case EPERM: return "操作が許可されていません";
    case ENOSPC: return "ディスクの空き容量が足りません";
    case EDQUOT: return "ディスクの使用量の上限を超えています";
    case EROFS: return "読み取り専用のファイルシステムです";
    case EISDIR: return "フォルダーです";
    case ENOTDIR: return "パスの途中にフォルダーでないものがあります";
    case ENAMETOOLONG: return "ファイル名またはパスが長すぎます";
    case ELOOP: return "シンボリックリンクが多すぎるか、循環しています";
    case EIO: return "ディスクの読み書きでエラーが起きました";
    case EEXIST: return "同じ名前のものがすでにあります";
    case EBUSY:
    case ETXTBSY: return "ほかのプログラムが使用中です";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case ENOMEM: return "メモリが足りません";
    case EFBIG: return "ファイルが大きすぎます";
    case EXDEV: return "別のファイルシステムをまたぐ操作はできません";
    case ENXIO:
    case ENODEV: return "装置がありません";
    case EOPNOTSUPP: return "このファイルシステムではできない操作です";
    case EAGAIN: return "一時的に使用できません";
    case ETIMEDOUT: return "時間内に応答がありません";
    case ESTALE: return "ネットワーク上のファイルが無効になりました";
    case EINVAL: return "このファイルにはできない操作です";
    default: return "システムエラー（エラー番号 " + std::to_string(err) + "）";
    }
}

}  // namespace tambor
