#pragma once

#include "AdvancedClass.h"
#include "KeypadClass.h"
#include "MessageSink.h"

#include <string>

namespace tessaron {

// The editor's document: the key table, the ROM records, the names of its
// files and the changed flag, with the open and save of each format. The
// editor's window and the tessaron commands share it, so a document is saved
// the same way by both. Made once and reset in place, never re-created.
class TDocument
{
public:
    TDocument();
    TDocument(const TDocument&) = delete;
    TDocument& operator=(const TDocument&) = delete;

    TKeypadClass& Keypad() { return m_keypad; }
    const TKeypadClass& Keypad() const { return m_keypad; }
    TRomRecords& Rom() { return m_rom; }
    const TRomRecords& Rom() const { return m_rom; }

    bool Modified() const { return m_modified; }
    void SetModified(bool flag) { m_modified = flag; }

    // USER mode: the path Save writes; "untitled" until loaded or saved.
    const std::string& RedefinitionFileName() const { return m_redefinitionFileName; }
    // ROM Edit mode: the path Save writes and Download sends; empty at start,
    // "untitled" after New.
    const std::string& RomFileName() const { return m_romFileName; }
    // USER mode: the download image's path; empty when there is none.
    const std::string& DownloadFile() const { return m_downloadFile; }

    // A name that was never loaded or saved: Save then asks for one.
    static bool IsUntitled(const std::string& fileName);

    // Everything to its defaults; both file names "untitled", no download file.
    // The changed flag is the caller's.
    void New();

    // Reads a redefinition file; when it exists the document takes its name
    // and its download image. False, with nothing changed, when there is no
    // file at the path; FileReadError, with nothing changed, for a file that
    // may not be read (not a regular file, too long).
    bool ReadRedefinition(const std::string& path);
    // The download image of a document path becomes the download file.
    void SetDownloadFileFor(const std::string& documentPath);
    // Reads a ROM file (an over-long ECR_String is reported through messages,
    // which may be null); the document takes its name whether or not it exists,
    // but not when the file may not be read (FileReadError, nothing changed).
    bool OpenRom(const std::string& path, TMessageSink* messages);

    // Save in USER mode: the redefinition file, its download image and the
    // loader's download delay. Save in ROM Edit mode: the ROM file, its LCD
    // texts first fitted in place. Both throw FileWriteError and then leave
    // names and changed flag as they were; on success the document takes the
    // path as its name and is unchanged.
    void SaveRedefinition(const std::string& path);
    void SaveRom(const std::string& path);

    // What Download hands the loader: the ROM file or the download image;
    // empty when there is nothing to send.
    std::string LoaderFile(bool romEditMode) const;

private:
    TKeypadClass m_keypad;
    TRomRecords m_rom;
    bool m_modified = false;
    std::string m_redefinitionFileName = "untitled";
    std::string m_romFileName;
    std::string m_downloadFile;
};

} // namespace tessaron
