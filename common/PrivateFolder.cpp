#include "PrivateFolder.h"

#include <cstdio>
#include <sys/stat.h>

namespace tessaron {

PrivateFolder PrivateFolder::Check(const std::string& path, uid_t uid, bool followLink)
{
    PrivateFolder f;
    f.m_path = path;
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0) {
        f.m_verdict = Verdict::Missing;
        return f;
    }
    if (S_ISLNK(st.st_mode)) {
        // Only its owner (or whoever may write to its folder) can point a link
        // elsewhere: another user's link is as good as another user's folder.
        f.m_owner = st.st_uid;
        if (!followLink || (st.st_uid != uid && st.st_uid != 0)) {
            f.m_verdict = Verdict::Link;
            return f;
        }
        if (::stat(path.c_str(), &st) != 0) {
            f.m_verdict = Verdict::Missing;
            return f;
        }
    }
    f.m_owner = st.st_uid;
    f.m_mode = st.st_mode & 07777;
    if (!S_ISDIR(st.st_mode)) {
        f.m_verdict = Verdict::NotAFolder;
    } else if (st.st_uid != uid) {
        f.m_verdict = Verdict::OtherOwner;
    } else if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        f.m_verdict = Verdict::WritableByOthers;
    } else {
        f.m_verdict = Verdict::Private;
    }
    return f;
}

std::string PrivateFolder::problem() const
{
    std::string why;
    switch (m_verdict) {
    case Verdict::Private:
        return {};
    case Verdict::Missing:
        why = "it does not exist";
        break;
    case Verdict::NotAFolder:
        why = "it is not a folder";
        break;
    case Verdict::Link:
        why = "it is a symbolic link";
        if (m_owner != 0) {
            why += " of user id " + std::to_string(m_owner);
        }
        break;
    case Verdict::OtherOwner:
        why = "it belongs to another user (user id " + std::to_string(m_owner) + ")";
        break;
    case Verdict::WritableByOthers: {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(m_mode));
        why = std::string("other users may write to it (mode ") + mode + ")";
        break;
    }
    }
    return m_path + " is not a private folder of yours: " + why;
}

} // namespace tessaron
