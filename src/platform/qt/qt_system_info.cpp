#include "platform/qt/qt_system_info.h"

#include <QSettings>
#include <QVariant>

namespace zelmar::platform {

namespace {
// The one key the program reads, and where its values live away from Windows.
constexpr char kProgramKey[] = "SOFTWARE\\Telvo Engineering\\TELVOZELMAR1";
constexpr char kOrganisation[] = "Telvo Engineering";
constexpr char kApplication[] = "TELVOZELMAR1";

std::string LittleEndian32(quint32 value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
    return bytes;
}
}  // namespace

bool QtSystemInfo::isNtPlatform() const {
    return false;
}

int QtSystemInfo::osMajorVersion() const {
    return 0;
}

std::string QtSystemInfo::commonAppDataFolder() {
    return {};
}

bool QtSystemInfo::readUserValue(const std::string& subKey, const std::string& valueName,
                                 RegistryType& type, std::string& data) {
    // Registry key names ignore case.
    if (QString::fromLatin1(subKey.c_str())
            .compare(QLatin1String(kProgramKey), Qt::CaseInsensitive) != 0) {
        return false;
    }
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, kOrganisation,
                          kApplication);
    const QVariant value = store.value(QString::fromLocal8Bit(valueName.c_str()));
    if (!value.isValid()) return false;
    switch (value.typeId()) {
        case QMetaType::QString:
        case QMetaType::QByteArray:
            type = RegistryType::kString;
            data = value.toString().toLocal8Bit().toStdString();
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            type = RegistryType::kDword;
            data = LittleEndian32(static_cast<quint32>(value.toLongLong()));
            break;
        default:  // lists and the rest: like a registry value of another type
            type = RegistryType::kOther;
            data.clear();
    }
    return true;
}

}  // namespace zelmar::platform
