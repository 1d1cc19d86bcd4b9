#include "ui/error_message.h"

#include "media/container/wave_output.h"
#include "settings/form_placement.h"
#include "settings/ini_ctrl.h"
#include "ui/texts.h"

namespace travoli {

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

TextId StoreText(StoreFailure failure) {
    switch (failure) {
        case StoreFailure::DataType:
            return TextId::StoreDataType;
        case StoreFailure::GetData:
            return TextId::StoreGetData;
        case StoreFailure::SetData:
            return TextId::StoreSetData;
        case StoreFailure::DeleteData:
            return TextId::StoreDeleteData;
        case StoreFailure::CreateKey:
            return TextId::StoreCreateKey;
        case StoreFailure::OpenKey:
            return TextId::StoreOpenKey;
        case StoreFailure::Commit:
            break;
    }
    return TextId::StoreCommit;
}

TextId HiveText(HiveFault fault) {
    switch (fault) {
        case HiveFault::LinkToNothing:
            return TextId::HiveLinkToNothing;
        case HiveFault::InPlaceDirectory:
            return TextId::HiveInPlaceDirectory;
        case HiveFault::InPlaceDevice:
            return TextId::HiveInPlaceDevice;
        case HiveFault::InPlaceFifo:
            return TextId::HiveInPlaceFifo;
        case HiveFault::InPlaceSocket:
            return TextId::HiveInPlaceSocket;
        case HiveFault::InPlaceOther:
            return TextId::HiveInPlaceOther;
        case HiveFault::EmptyFile:
            return TextId::HiveEmptyFile;
        case HiveFault::NotOurs:
            return TextId::HiveNotOurs;
        case HiveFault::FailsCheck:
            return TextId::HiveFailsCheck;
        case HiveFault::KeepsDamaged:
            return TextId::HiveKeepsDamaged;
        case HiveFault::CannotMoveAside:
            return TextId::HiveCannotMoveAside;
        case HiveFault::NoFreeName:
            return TextId::HiveNoFreeName;
        case HiveFault::NotSaved:
            return TextId::HiveNotSaved;
        case HiveFault::InUse:
            return TextId::HiveInUse;
        case HiveFault::Library:
            break;
    }
    return TextId::HiveAt;  // never asked: what the library said is no row
}

// The hive's cause as its LastError() says it in English, in `language`.
QString HiveCause(const HiveFailure& cause, Language language) {
    QString text = cause.fault == HiveFault::Library
                       ? FromStd(cause.detail)
                       : TextFor(HiveText(cause.fault), language).arg(FromStd(cause.detail));
    if (text.isEmpty()) {
        return text;
    }
    if (cause.leftAsItIs) {
        text = TextFor(TextId::HiveLeftAsItIs, language).arg(text);
    }
    if (!cause.path.empty()) {
        text = TextFor(TextId::HiveAt, language).arg(FromStd(cause.path), text);
    }
    return text;
}

}  // namespace

EBrokenPicture::EBrokenPicture(std::size_t index)
    : std::runtime_error(
          TextFor(TextId::BrokenPicture, EnglishLanguage).arg(index).toUtf8().toStdString()),
      index_(index) {}

QString ErrorMessage(const std::exception& error, Language language) {
    if (const auto* store = dynamic_cast<const ERegistryException*>(&error)) {
        const QString message =
            TextFor(StoreText(store->Failure()), language).arg(FromStd(store->Name()));
        const auto* hive = dynamic_cast<const EHiveFailure*>(store);
        const QString cause = hive != nullptr ? HiveCause(hive->Cause(), language) : QString();
        return cause.isEmpty() ? message
                               : TextFor(TextId::StoreWithCause, language).arg(message, cause);
    }
    if (const auto* sound = dynamic_cast<const ESoundError*>(&error)) {
        switch (sound->Failure()) {
            case SoundFailure::Refused:
                return TextFor(TextId::SoundRefused, language).arg(FromStd(sound->Said()));
            case SoundFailure::TooLarge:
                return TextFor(TextId::SoundRefused, language)
                    .arg(TextFor(TextId::SoundTooLarge, language));
            case SoundFailure::TooLong:
                return TextFor(TextId::SoundRefused, language)
                    .arg(TextFor(TextId::SoundTooLong, language));
            case SoundFailure::Other:
                break;
        }
    }
    if (const auto* number = dynamic_cast<const EConvertError*>(&error)) {
        return TextFor(TextId::NotAnInteger, language).arg(FromStd(number->Field()));
    }
    if (const auto* picture = dynamic_cast<const EBrokenPicture*>(&error)) {
        return TextFor(TextId::BrokenPicture, language).arg(picture->Index());
    }
    return QString::fromUtf8(error.what());
}

}  // namespace travoli
