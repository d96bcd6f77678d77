#include "ui/files/FileReadTexts.h"

#include <QByteArray>
#include <QFile>

#include "vault/AtomicFile.h"
#include "vault/ExportFile.h"

QString DisplayPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString FileReadFailureText(const std::string& path, FileReadStatus status) {
    QString text;
    switch (status) {
        case FileReadStatus::Ok:
        case FileReadStatus::CannotOpen:
            text = QStringLiteral("Keynest cannot open the file\n%1");
            break;
        case FileReadStatus::NotRegular:
            text = QStringLiteral(
                "The file\n%1\nis not a regular file but a folder, FIFO, device or socket, so "
                "Keynest does not read it.");
            break;
        case FileReadStatus::TooLarge:
            text = QStringLiteral("The file\n%1\nis larger than %2 MiB, far more than any list "
                                  "of passwords.")
                       .arg(QStringLiteral("%1"), QString::number(kMaxExportFileBytes >> 20));
            break;
        case FileReadStatus::TimedOut:
            text = QStringLiteral("The file\n%1\ngave no answer within %2 seconds.")
                       .arg(QStringLiteral("%1"), QString::number(kFileWaitLimit.count()));
            break;
    }
    return text.arg(DisplayPath(path)) + QStringLiteral(" Nothing was imported.");
}
