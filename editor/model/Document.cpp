#include "Document.h"

#include "DownloadImage.h"
#include "LoaderSettings.h"
#include "RedefinitionFile.h"
#include "RomFile.h"
#include "RomSections.h"

#include "common/AsciiText.h"
#include "common/FileReadError.h"

namespace tessaron {

TDocument::TDocument()
{
    m_rom.SetRomDefaults();
}

bool TDocument::IsUntitled(const std::string& fileName)
{
    return fileName.empty() || EqualsIgnoreCase(fileName, "untitled");
}

void TDocument::New()
{
    m_keypad.Reset();
    m_rom.SetRomDefaults();
    m_redefinitionFileName = "untitled";
    m_romFileName = "untitled";
    m_downloadFile.clear();
}

bool TDocument::ReadRedefinition(const std::string& path)
{
    std::string refusal;
    if (!ReadRedefinitionFile(m_keypad, path, &refusal)) {
        if (!refusal.empty()) {
            throw FileReadError(refusal);
        }
        return false;
    }
    m_redefinitionFileName = path;
    SetDownloadFileFor(path);
    return true;
}

void TDocument::SetDownloadFileFor(const std::string& documentPath)
{
    m_downloadFile = DownloadImagePath(documentPath);
}

bool TDocument::OpenRom(const std::string& path, TMessageSink* messages)
{
    std::string refusal;
    const bool loaded = ReadRomFile(m_keypad, m_rom, path, messages, &refusal);
    if (!refusal.empty()) {
        throw FileReadError(refusal);
    }
    m_romFileName = path;
    return loaded;
}

void TDocument::SaveRedefinition(const std::string& path)
{
    const std::string image = DownloadImagePath(path);
    WriteRedefinitionFile(m_keypad, path);
    WriteDownloadImage(m_keypad, image, LoaderSettingsPath());
    m_redefinitionFileName = path;
    m_downloadFile = image;
    m_modified = false;
}

void TDocument::SaveRom(const std::string& path)
{
    FitLcdTexts(m_rom);
    WriteRomFile(m_keypad, m_rom, path);
    m_romFileName = path;
    m_modified = false;
}

std::string TDocument::LoaderFile(bool romEditMode) const
{
    if (romEditMode) {
        return IsUntitled(m_romFileName) ? std::string() : m_romFileName;
    }
    return m_downloadFile;
}

} // namespace tessaron
