#pragma once

#include <QString>
#include <QStringList>

#include "game/language.h"

namespace travoli {

// The one test of a language that the texts know: German only for exactly 1.
inline constexpr bool SpeaksGerman(Language language) {
    return language == GermanLanguage;
}

// Every text the player can see. Ask TextFor each time a text is set; never keep the result,
// so a change of language shows the next time the owner sets its texts.
enum class TextId {
    ProgramName,
    TitlePrefix,
    TitleLevelWord,
    TitleSeparator,
    TitleMovesWord,
    TitleUnsolved,
    MovesLabelWord,
    MovesLabelTail,
    HintRestart,
    HintRules,
    HintSound,
    HintExit,
    HintPrevUnsolved,
    HintLevelSelector,
    HintNextUnsolved,
    HintInfo,
    HintLanguage,
    MarqueeLine,
    QuitQuestion,
    GiveUpQuestion,
    ButtonYes,
    ButtonNo,
    ButtonOk,
    ResultTooManyMoves,
    ResultFirstSolution,
    ResultBetterSolution,
    ResultSolvedAgain,
    RulesText,
    InfoCaption,
    InfoMembership,
    InfoTerms,
    InfoMailLabel,
    InfoHomepageLabel,
    LanguageCaption,
    LanguageEnglish,
    LanguageGerman,
    // The info dialog's heading and author block, and the maker's addresses.
    InfoProgramLine,
    InfoAuthorSign,
    InfoAuthorName,
    InfoAuthorAddress1,
    InfoAuthorAddress2,
    MakerMailAddress,
    MakerHomepage,
    MakerHomepageLink,  // the homepage with one trailing blank, as the info dialog's link shows it
    // What assistive technology reads out for the board: %1 row, %2 column (both from 1),
    // %3 content.
    AccessibleBoard,
    AccessibleCell,
    AccessibleRedStraight,
    AccessibleWhiteStraight,
    AccessibleBlueStraight,
    AccessibleRedDiagonal,
    AccessibleWhiteDiagonal,
    AccessibleBlueDiagonal,
    AccessibleEmptyCell,
    // Said to assistive technology only: the keys, the sound switch, the pictures and links
    // that have no text of their own, and a refused press (%1 content, %2 row, %3 column).
    AccessibleBoardKeys,
    AccessibleLevelKeys,
    AccessibleKey,  // %1: the key
    ControlKeyName,
    AccessibleSound,
    AccessibleMarquee,
    AccessibleMakerLogo,
    AccessibleAssociationLogo,
    AccessibleRefused,
    // %1: what the settings store reported.
    SettingsUnreadable,
    // The settings could not be saved at the end: %1 the file, %2 one of the causes below,
    // %3 what the settings store reported. The two buttons answer it.
    SaveFailedQuestion,
    SaveFailedEnd,
    SaveFailedBack,
    SaveCauseReadOnlyFile,
    SaveCauseReadOnlyFolder,
    SaveCauseReadOnlyDisk,
    SaveCauseDiskFull,
    SaveCauseNotAFile,
    SaveCauseLocked,
    SaveCauseNotAHive,
    SaveCauseUnknown,
    // An error that escaped every handler and carries no text of its own.
    UnexpectedError,
    // The settings file was damaged: %1 its path, %2 where it was moved.
    SettingsMovedAside,
    // The errors of the layers below, put together by ErrorMessage (texts/error_message.h). The
    // settings store's own messages read the same in both languages, as designed: %1 the key,
    // or the key's path; a failed hive adds its cause (%2) in brackets.
    StoreDataType,
    StoreGetData,
    StoreSetData,
    StoreDeleteData,
    StoreCreateKey,
    StoreOpenKey,
    StoreCommit,
    StoreWithCause,
    // What the hive met: %1 the file or folder, %2 what follows.
    HiveAt,
    HiveLinkToNothing,
    HiveInPlaceDirectory,
    HiveInPlaceDevice,
    HiveInPlaceFifo,
    HiveInPlaceSocket,
    HiveInPlaceOther,
    HiveEmptyFile,
    HiveNotOurs,
    HiveFailsCheck,
    HiveKeepsDamaged,
    HiveCannotMoveAside,  // %1: the system's reason
    HiveNoFreeName,
    HiveNotSaved,
    HiveInUse,
    HiveLeftAsItIs,  // %1: one of the above
    // A sound the platform refused: %1 its reason, or one of the two after it.
    SoundRefused,
    SoundTooLarge,
    SoundTooLong,
    // A saved number that is none (%1), as designed in one language.
    NotAnInteger,
    // %1: the image's place in the list.
    BrokenPicture,
};

inline constexpr int TextIdCount = static_cast<int>(TextId::BrokenPicture) + 1;

// The text of `id` in `language`. Multi-line texts (RulesText, InfoTerms) have their lines
// joined by "\n" with no newline after the last. An id outside the enum gives an empty string.
QString TextFor(TextId id, Language language);

}  // namespace travoli
