// Saving and loading a full document: every macro at the 100-byte limit, every
// macro named, every parameter away from its default.
#include "common/AtomicFile.h"
#include "editor/model/DownloadImage.h"
#include "editor/model/RedefinitionFile.h"
#include "editor/model/RomFile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using namespace tessaron;

class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "model-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        m_path = pattern;
        // The loader names a port, so every save also updates DownloadDelay.
        WriteFileAtomically(file("Tavrix.ini"), "[Com Port Configuration]\r\nComPort=3\r\n");
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string file(const char* name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// 100 bytes: 92 plain codes, a delay, a beep and an LED command.
void FillMacro(TKeypadClass& k, int key, int level)
{
    int pos = 0;
    for (int i = 0; i < 92; ++i) {
        k.InsertItem(key, level, pos, 'a' + (key + level + i) % 26);
    }
    for (const std::int32_t item : {DelayBase + 50, BeepBase + 25, LedBase + 12}) {
        k.InsertItem(key, level, pos, item);
    }
    k.SetAutoRepeat(key, level, static_cast<std::uint8_t>(level));
    k.SetSendLineEditKeyASAP(key, level, static_cast<std::uint8_t>(1 - level));
    k.SetMacroName(key, level,
                   "Key " + std::to_string(key) + " level " + std::to_string(level + 1));
}

void FullDocument(TKeypadClass& k, TRomRecords& rom)
{
    k.Reset();
    for (int key = 0; key < MaxKeys; ++key) {
        FillMacro(k, key, 0);
        FillMacro(k, key, 1);
        k.SetKeyType(key, static_cast<std::uint8_t>(key % 4));
    }
    k.Key_Roll_Over = 1;
    k.LED_Function = 0x23;
    k.Character_Pacing = 10;
    k.DOWNLOAD_DELAY = 50;
    k.Operating_Mode = 0x31;
    k.LineEdit_TailCharacter = 10;
    k.Key_Click = 100;
    k.Baud_Rate = 7;
    k.Word_Format = 2;
    k.Xon_Character = 17;
    k.Xoff_Character = 19;
    k.CardReader_Type = 2;
    k.CardReader_StartCharacter = 3;
    k.CardReader_StartCharacterEnable = 1;
    k.CardReader_EndCharacter = 4;
    k.CardReader_EndCharacterEnable = 1;
    k.CardReader_Tracks = 1;
    k.CardReader_StartSentinel = 5;
    k.CardReader_EndSentinel = 6;
    k.CardReader_FieldSeparator = 7;
    k.CardReader_BadSwipe = 8;
    k.RF_Keypad_ID = 5;
    k.CDC_Serial_No = 4321;

    rom.SetRomDefaults();
    TAdvancedParams& a = rom.AdvancedParams;
    a.Operating_Mode = 3;
    a.bHostEcho = 1;
    a.MaskChar = '#';
    a.ScreenEnable = 1;
    a.StartScreen = 8;
    a.CalcPrefix = 1;
    a.CalcStart = 2;
    a.CalcSuffix = 4;
    a.Character_Pacing = 6;
    a.DOWNLOAD_DELAY = 90;
    a.SignOnMsgLine1 = "100% Tessaron";
    a.SignOnMsgLine2 = "Sign-on line 2";
    a.TSignOnHold = 5000;
    a.HostType = 7;
    a.Word_Format = 0x9D;
    a.TBeepChirp = 2500;
    a.CardReader_Type = 3;
    a.DeviceType = 0x82;
    a.CardReadMsgLine1 = "Read";
    a.CardReadMsgLine2 = "OK";
    a.ECR_Mode = 0x81DF;
    a.ECR_String = "SUFFIX!";
    for (int i = 0; i < ScreenCount; ++i) {
        TScreenDataRec& s = rom.ScreenData[static_cast<size_t>(i)];
        s.TextLine1 = "Screen " + std::to_string(i + 1);
        s.bTimeoutEnable = 1;
        s.TimeoutPeriod = 100 * (i + 1);
        s.LedModes = 21;
        s.OnShowChar = 5;
    }
}

void BM_SaveRedefinitionFileAndImage(benchmark::State& state)
{
    ScratchFolder folder;
    TKeypadClass k;
    TRomRecords rom;
    FullDocument(k, rom);
    const std::string ckd = folder.file("full.ckd");
    const std::string hex = DownloadImagePath(ckd);
    const std::string loader = folder.file("Tavrix.ini");
    for (auto _ : state) {
        WriteRedefinitionFile(k, ckd);
        WriteDownloadImage(k, hex, loader);
    }
}
BENCHMARK(BM_SaveRedefinitionFileAndImage)->Unit(benchmark::kMicrosecond);

void BM_LoadRedefinitionFile(benchmark::State& state)
{
    ScratchFolder folder;
    TKeypadClass k;
    TRomRecords rom;
    FullDocument(k, rom);
    const std::string ckd = folder.file("full.ckd");
    WriteRedefinitionFile(k, ckd);
    WriteDownloadImage(k, DownloadImagePath(ckd), folder.file("Tavrix.ini"));
    TKeypadClass loaded;
    for (auto _ : state) {
        ReadRedefinitionFile(loaded, ckd);
        benchmark::DoNotOptimize(loaded);
    }
}
BENCHMARK(BM_LoadRedefinitionFile)->Unit(benchmark::kMicrosecond);

void BM_SaveRomFile(benchmark::State& state)
{
    ScratchFolder folder;
    TKeypadClass k;
    TRomRecords rom;
    FullDocument(k, rom);
    const std::string path = folder.file("full.rom");
    for (auto _ : state) {
        WriteRomFile(k, rom, path);
    }
}
BENCHMARK(BM_SaveRomFile)->Unit(benchmark::kMicrosecond);

void BM_LoadRomFile(benchmark::State& state)
{
    ScratchFolder folder;
    TKeypadClass k;
    TRomRecords rom;
    FullDocument(k, rom);
    const std::string path = folder.file("full.rom");
    WriteRomFile(k, rom, path);
    TKeypadClass loaded;
    TRomRecords loadedRom;
    for (auto _ : state) {
        ReadRomFile(loaded, loadedRom, path, nullptr);
        benchmark::DoNotOptimize(loadedRom);
    }
}
BENCHMARK(BM_LoadRomFile)->Unit(benchmark::kMicrosecond);

// A hostile document: nothing but distinct section headers, as many as fit in
// the 1 MiB that a reader accepts. Reading it must stay well under a second.
void BM_LoadHeaderOnlyDocument(benchmark::State& state)
{
    ScratchFolder folder;
    std::string text;
    for (int i = 0;; ++i) {
        const std::string header = "[S" + std::to_string(i) + "]\r\n";
        if (text.size() + header.size() > MaxReadFileSize) {
            break;
        }
        text += header;
    }
    const std::string path = folder.file("headers.ckd");
    WriteFileAtomically(path, text);
    TKeypadClass loaded;
    for (auto _ : state) {
        if (!ReadRedefinitionFile(loaded, path)) {
            state.SkipWithError("the document was not read");
            break;
        }
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["sections"] = static_cast<double>(std::count(text.begin(), text.end(), '['));
}
BENCHMARK(BM_LoadHeaderOnlyDocument)->Unit(benchmark::kMillisecond);

} // namespace
