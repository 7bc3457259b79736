#pragma once

#include <string>
#include <sys/types.h>

namespace tessaron {

// Whether a folder is one that only its user can change: a real folder (a
// symbolic link is followed only where asked, and then must belong to the
// user or root), owned by the user, writable by nobody else. Whoever else may
// write into a folder can put files, programs and links there, or rename what
// is there, so the suite's state, locks and programs come only from such folders.
class PrivateFolder
{
public:
    enum class Verdict
    {
        Private,
        Missing,
        NotAFolder,
        Link, // a symbolic link where none is followed, or a link of another user
        OtherOwner,
        WritableByOthers,
    };

    // Looks at path now, for the user uid.
    static PrivateFolder Check(const std::string& path, uid_t uid, bool followLink = false);

    Verdict verdict() const { return m_verdict; }
    bool isPrivate() const { return m_verdict == Verdict::Private; }
    const std::string& path() const { return m_path; }
    // The owner and the permission bits that were seen (of the folder a
    // followed link leads to).
    uid_t owner() const { return m_owner; }
    mode_t mode() const { return m_mode; }

    // What is wrong, naming the path: "/x is not a private folder of yours:
    // other users may write to it (mode 0775)". Empty for a private folder.
    std::string problem() const;

private:
    std::string m_path;
    Verdict m_verdict = Verdict::Missing;
    uid_t m_owner = 0;
    mode_t m_mode = 0;
};

} // namespace tessaron
