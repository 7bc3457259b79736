#include "SuiteFolderRefusalBox.h"

#include "common/SuiteFolder.h"

#include <QGuiApplication>

#include <cstdio>

namespace tessaron {

SuiteFolderRefusalBox::SuiteFolderRefusalBox(MessageBox* box, QString caption)
{
    SetSuiteFolderRefusalHandler([box, caption](const std::string& message) {
        std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(), message.c_str());
        // Offscreen nobody could close the box.
        const QString platform = QGuiApplication::platformName();
        if (box != nullptr && platform != QLatin1String("offscreen") &&
            platform != QLatin1String("minimal")) {
            box->Error(caption, QString::fromLocal8Bit(message.c_str()) + QLatin1Char('.'));
        }
    });
}

SuiteFolderRefusalBox::~SuiteFolderRefusalBox()
{
    SetSuiteFolderRefusalHandler({});
}

} // namespace tessaron
