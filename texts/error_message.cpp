#include "texts/error_message.h"

#include <iterator>

#include "media/container/bitmap_list.h"
#include "media/container/wave_output.h"
#include "settings/form_placement.h"
#include "settings/ini_ctrl.h"
#include "texts/texts.h"

namespace travoli {

namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// By the order of the enums, which the sizes below tie to their last values.
constexpr TextId StoreTexts[] = {
    TextId::StoreDataType,  TextId::StoreGetData, TextId::StoreSetData, TextId::StoreDeleteData,
    TextId::StoreCreateKey, TextId::StoreOpenKey, TextId::StoreCommit};
static_assert(std::size(StoreTexts) == static_cast<std::size_t>(StoreFailure::Commit) + 1);

// What the library said has no row of its own.
constexpr TextId HiveTexts[] = {TextId::HiveAt,
                                TextId::HiveLinkToNothing,
                                TextId::HiveInPlaceDirectory,
                                TextId::HiveInPlaceDevice,
                                TextId::HiveInPlaceFifo,
                                TextId::HiveInPlaceSocket,
                                TextId::HiveInPlaceOther,
                                TextId::HiveEmptyFile,
                                TextId::HiveNotOurs,
                                TextId::HiveFailsCheck,
                                TextId::HiveKeepsDamaged,
                                TextId::HiveCannotMoveAside,
                                TextId::HiveNoFreeName,
                                TextId::HiveNotSaved,
                                TextId::HiveInUse};
static_assert(std::size(HiveTexts) == static_cast<std::size_t>(HiveFault::InUse) + 1);

constexpr TextId CauseTexts[] = {TextId::SaveCauseUnknown,        TextId::SaveCauseReadOnlyFile,
                                 TextId::SaveCauseReadOnlyFolder, TextId::SaveCauseReadOnlyDisk,
                                 TextId::SaveCauseDiskFull,       TextId::SaveCauseNotAFile,
                                 TextId::SaveCauseLocked,         TextId::SaveCauseNotAHive};
static_assert(std::size(CauseTexts) == static_cast<std::size_t>(HiveProblem::NotAHive) + 1);

}  // namespace

QString HiveFailureMessage(const HiveFailure& cause, Language language) {
    // Only the failed move aside has a place for the system's reason.
    QString text = cause.fault == HiveFault::Library ? FromStd(cause.detail)
                   : cause.fault == HiveFault::CannotMoveAside
                       ? TextFor(TextId::HiveCannotMoveAside, language).arg(FromStd(cause.detail))
                       : TextFor(HiveTexts[static_cast<int>(cause.fault)], language);
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

QString SaveFailureCause(const std::exception& error, Language language) {
    const auto* hive = dynamic_cast<const EHiveFailure*>(&error);
    const HiveProblem problem = hive != nullptr ? hive->Cause().problem : HiveProblem::Unknown;
    return TextFor(CauseTexts[static_cast<int>(problem)], language);
}

QString ErrorMessage(const std::exception& error, Language language) {
    if (const auto* store = dynamic_cast<const ERegistryException*>(&error)) {
        const QString message = TextFor(StoreTexts[static_cast<int>(store->Failure())], language)
                                    .arg(FromStd(store->Name()));
        const auto* hive = dynamic_cast<const EHiveFailure*>(store);
        const QString cause =
            hive != nullptr ? HiveFailureMessage(hive->Cause(), language) : QString();
        return cause.isEmpty() ? message
                               : TextFor(TextId::StoreWithCause, language).arg(message, cause);
    }
    if (const auto* sound = dynamic_cast<const ESoundError*>(&error);
        sound != nullptr && sound->Failure() != SoundFailure::Other) {
        const QString reason =
            sound->Failure() == SoundFailure::TooLarge  ? TextFor(TextId::SoundTooLarge, language)
            : sound->Failure() == SoundFailure::TooLong ? TextFor(TextId::SoundTooLong, language)
                                                        : FromStd(sound->Said());
        return TextFor(TextId::SoundRefused, language).arg(reason);
    }
    if (const auto* number = dynamic_cast<const EConvertError*>(&error)) {
        return TextFor(TextId::NotAnInteger, language).arg(FromStd(number->Field()));
    }
    if (const auto* picture = dynamic_cast<const EBrokenPicture*>(&error)) {
        return TextFor(TextId::BrokenPicture, language).arg(picture->Index());
    }
    return QString::fromUtf8(error.what());
}

QString ErrorMessage(const std::exception_ptr& error, Language language) {
    if (!error) {
        return {};
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& raised) {
        return ErrorMessage(raised, language);
    } catch (...) {
        return {};
    }
}

}  // namespace travoli
