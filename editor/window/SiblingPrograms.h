#pragma once

#include "common/Launcher.h"
#include "common/MessageBox.h"

#include <QString>

#include <string>

class QWidget;

namespace tessaron {

// The suite's sibling programs as the editor starts them: the loader, the
// port setting program and the two test programs, each from the suite folder,
// with the editor's failure messages.
class TSiblingPrograms
{
public:
    TSiblingPrograms(Launcher& programs, MessageBox& messages);

    // The program's file name as it is looked for ("Tavrix"; "Tavrix.exe" on
    // Windows) and its full path in the suite folder.
    static QString FileName(const char* program);
    static QString Path(const char* program);

    // Starts the loader with one parameter: the path of the file to send,
    // quoted so that the loader gets it back exactly, quotes and all.
    void StartLoader(const std::string& path);
    // Runs the port setting program and waits for it, window repainting.
    void RunPortSetting(QWidget* window);
    // The test program for the keypad's link: the keyboard test when the keypad
    // is a USB HID keyboard, otherwise by the loader's ComPort.
    void StartTest(bool usbHid, int comPort);

private:
    Launcher& m_programs;
    MessageBox& m_messages;
};

} // namespace tessaron
