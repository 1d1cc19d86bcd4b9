#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <climits>
#include <filesystem>
#include <functional>
#include <ostream>
#include <set>

#include "media/container/bitmap_list.h"
#include "media/container/wave_output.h"
#include "settings/form_placement.h"
#include "settings/ini_ctrl.h"
#include "settings/sqlite_hive.h"
#include "tests/support/temp_folder.h"
#include "texts/error_message.h"
#include "texts/texts.h"

// Readable failure messages, blanks made visible.
void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace travoli {
namespace {

constexpr Language EnglishReaders[] = {-1, 0, 2, -7, 5, INT32_MIN, INT32_MAX};

// The rules text line by line, trailing blanks and empty lines kept.
QStringList RulesLines(Language language) {
    return TextFor(TextId::RulesText, language).split(u'\n');
}

// Rows whose two columns hold different texts. Umlauts are spelt as escapes here so that a
// source read in the wrong encoding cannot pass by making the same mistake twice.
struct Pair {
    TextId id;
    const char16_t* english;
    const char16_t* german;
};
const Pair TranslatedTexts[] = {
    {TextId::TitleLevelWord, u"level ", u"Stufe "},
    {TextId::TitleMovesWord, u" moves", u" Z\u00FCge"},
    {TextId::TitleUnsolved, u"unsolved", u"ungel\u00F6st"},
    {TextId::MovesLabelWord, u" Moves: ", u" Z\u00FCge: "},
    {TextId::HintRestart, u"I try it again.", u"Ich probier's nochmal."},
    {TextId::HintRules, u"What's to do here?", u"Worum geht's da eigentlich?"},
    {TextId::HintSound, u"I dont like the sound always.",
     u"Die Ger\u00E4usche mag ich nicht immer."},
    {TextId::HintExit, u"I have enough!", u"Ich hab genug!"},
    {TextId::HintPrevUnsolved, u"Previous unsolved level", u"Vorige ungel\u00F6ste Stufe"},
    {TextId::HintLevelSelector, u"I try another level.", u"Ich probier eine andere Stufe."},
    {TextId::HintNextUnsolved, u"Next unsolved level", u"N\u00E4chste ungel\u00F6ste Stufe"},
    {TextId::HintInfo, u"Who did these ZANFIR GAME?", u"Wer hat dieses Spiel nur verbrochen?"},
    {TextId::QuitQuestion, u"Do you really want to go?",
     u"Willst Du wirklich schon aufh\u00F6ren?"},
    {TextId::GiveUpQuestion, u"Do you really want to give up the level?",
     u"Willst Du die Stufe wirklich aufgeben?"},
    {TextId::ButtonYes, u"Yes", u"Ja"},
    {TextId::ButtonNo, u"No", u"Nein"},
    {TextId::ResultTooManyMoves, u"Sorry, you needed to many moves.",
     u"Du hast leider zu viele Z\u00FCge ben\u00F6tigt."},
    {TextId::ResultFirstSolution, u"Hurrah, you did it! You've found a solution.",
     u"Hurra, geschafft! Du hast eine L\u00F6sung gefunden."},
    {TextId::ResultBetterSolution, u"Hurrah, you did it! You've found a better solution.",
     u"Hurra, geschafft! Du hast eine bessere L\u00F6sung gefunden."},
    {TextId::ResultSolvedAgain, u"Hurrah, you did it!", u"Hurra, geschafft!"},
    {TextId::MarqueeLine,
     u"Click here do visit the Zanfir Bytes Homepage.     The Zanfir Games - a series of non "
     u"violent games for everyone between 8 and 88.     The legendary Zanfir Games are waiting "
     u"for you.     ",
     u"Klicke hier um die Zanfir Games Homepage zu besuchen.     Die Zanfir Games - eine Reihe "
     u"von Denkspielen f\u00FCr alle von 8 bis 88.     Die legend\u00E4ren Zanfir Games warten "
     u"auf Dich.     "},
    {TextId::AccessibleCell, u"row %1, column %2: %3", u"Zeile %1, Spalte %2: %3"},
    {TextId::AccessibleSound, u"Sound", u"Ger\u00E4usche"},
    {TextId::AccessibleKey, u"Key: %1", u"Taste: %1"},
    {TextId::ControlKeyName, u"Ctrl", u"Strg"},
    {TextId::AccessibleRefused, u"No move: %1, row %2, column %3",
     u"Kein Zug: %1, Zeile %2, Spalte %3"},
    {TextId::SettingsUnreadable,
     u"Your saved settings could not be read. The game starts with its defaults for what it "
     u"could not read and leaves the saved values as they are.\n\n%1",
     u"Deine gespeicherten Einstellungen konnten nicht gelesen werden. Das Spiel beginnt "
     u"f\u00FCr das Ungelesene mit den Grundeinstellungen und l\u00E4sst die gespeicherten "
     u"Werte, wie sie sind.\n\n%1"},
    {TextId::SaveFailedEnd, u"End without saving", u"Ohne Speichern beenden"},
    {TextId::SaveFailedBack, u"Back to the game", u"Zur\u00FCck zum Spiel"},
    {TextId::SaveCauseReadOnlyFile, u"The file is write-protected.",
     u"Die Datei ist schreibgesch\u00FCtzt."},
};

struct Single {
    TextId id;
    const char16_t* text;
};
const Single SharedTexts[] = {
    {TextId::ProgramName, u"Travoli"},
    {TextId::TitlePrefix, u"Travoli - "},
    {TextId::TitleSeparator, u": "},
    {TextId::MovesLabelTail, u" "},
    {TextId::HintLanguage, u"Sprache/Language"},
    {TextId::ButtonOk, u"OK"},
    {TextId::InfoCaption, u"Zanfir Bytes - Freeware-Info"},
    {TextId::InfoMailLabel, u"E-Mail:"},
    {TextId::InfoHomepageLabel, u"Homepage:"},
    {TextId::LanguageCaption, u"Travoli V2.1"},
    {TextId::LanguageEnglish, u"I speak english."},
    {TextId::LanguageGerman, u"Ich spreche deutsch."},
    {TextId::InfoProgramLine, u"Travoli V2.1"},
};

TextId IdAt(int index) {
    return static_cast<TextId>(index);
}

TEST(Texts, GermanOnlyForExactlyOne) {
    for (const Pair& row : TranslatedTexts) {
        const QString english = QString::fromUtf16(row.english);
        EXPECT_EQ(TextFor(row.id, GermanLanguage), QString::fromUtf16(row.german))
            << "id " << static_cast<int>(row.id);
        for (Language language : EnglishReaders) {
            EXPECT_EQ(TextFor(row.id, language), english)
                << "id " << static_cast<int>(row.id) << ", language " << language;
        }
    }
}

TEST(Texts, SharedRowsReadTheSameInBothLanguages) {
    for (const Single& row : SharedTexts) {
        const QString text = QString::fromUtf16(row.text);
        EXPECT_EQ(TextFor(row.id, GermanLanguage), text) << "id " << static_cast<int>(row.id);
        for (Language language : EnglishReaders) {
            EXPECT_EQ(TextFor(row.id, language), text)
                << "id " << static_cast<int>(row.id) << ", language " << language;
        }
    }
}

TEST(Texts, TitlesAndMovesLabelFromTheirPieces) {
    const auto title = [](Language language, const QString& best) {
        return TextFor(TextId::TitlePrefix, language) + TextFor(TextId::TitleLevelWord, language) +
               QString::number(17) + TextFor(TextId::TitleSeparator, language) + best;
    };
    const auto moves = [](Language language, int count) {
        return TextFor(TextId::MovesLabelWord, language) + QString::number(count) +
               TextFor(TextId::MovesLabelTail, language);
    };
    for (Language language : {EnglishLanguage, GermanLanguage}) {
        SCOPED_TRACE(language);
        const bool german = language == GermanLanguage;
        EXPECT_EQ(title(language, TextFor(TextId::TitleUnsolved, language)),
                  german ? u"Travoli - Stufe 17: ungel\u00F6st" : u"Travoli - level 17: unsolved");
        EXPECT_EQ(title(language, QString::number(23) + TextFor(TextId::TitleMovesWord, language)),
                  german ? u"Travoli - Stufe 17: 23 Z\u00FCge" : u"Travoli - level 17: 23 moves");
        EXPECT_EQ(moves(language, 0), german ? u" Z\u00FCge: 0 " : u" Moves: 0 ");
    }
}

TEST(Texts, MarqueeSentencesAreFollowedByFiveBlanks) {
    for (Language language : {EnglishLanguage, GermanLanguage}) {
        const QString line = TextFor(TextId::MarqueeLine, language);
        const QStringList parts = line.split(QStringLiteral("     "));
        ASSERT_EQ(parts.size(), 4) << "language " << language;
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(parts[i].endsWith(u'.')) << parts[i].toStdString();
            EXPECT_FALSE(parts[i].startsWith(u' ')) << "six blanks before " << i;
        }
        EXPECT_TRUE(parts[3].isEmpty());
        EXPECT_FALSE(line.contains(u'\n'));
    }
}

struct RulesShape {
    Language language;
    int lineCount;
    std::set<int> emptyLines;         // numbered from 1
    std::set<int> linesWithoutBlank;  // non-empty lines that do not end in a blank
    int exactLine;
    const char16_t* exactText;
};

TEST(Texts, RulesKeepTheirLinesBlanksAndEmptyLines) {
    const RulesShape shapes[] = {
        {EnglishLanguage,
         28,
         {2, 8, 12, 17, 22, 27},
         {1, 7, 11, 16, 21, 26, 28},
         5,
         u"that a transversial arrow cross can only move diagonally and a straight arrow cross "},
        {GermanLanguage,
         33,
         {3, 9, 14, 19, 25, 32},
         {2, 8, 13, 18, 24, 31, 33},
         17,
         u"sind. D.h. sie m\u00FCssen nicht unbedingt nur die \u00E4u\u00DFeren Felder besetzen, "
         u"eines kann "},
    };
    for (const RulesShape& shape : shapes) {
        SCOPED_TRACE(shape.language);
        const QStringList lines = RulesLines(shape.language);
        ASSERT_EQ(lines.size(), shape.lineCount);
        for (int number = 1; number <= shape.lineCount; ++number) {
            const QString& line = lines[number - 1];
            if (shape.emptyLines.count(number)) {
                EXPECT_TRUE(line.isEmpty()) << "line " << number;
            } else if (shape.linesWithoutBlank.count(number)) {
                EXPECT_FALSE(line.isEmpty() || line.endsWith(u' ')) << "line " << number;
            } else {
                EXPECT_TRUE(line.endsWith(u' ') && !line.endsWith(u"  ")) << "line " << number;
            }
            EXPECT_FALSE(line.startsWith(u' ')) << "line " << number;
        }
        EXPECT_EQ(lines[shape.exactLine - 1], QString::fromUtf16(shape.exactText));
    }
}

TEST(Texts, RulesEdgesExact) {
    const struct {
        Language language;
        int line;
        const char16_t* text;
    } cases[] = {
        {EnglishLanguage, 1,
         u"The aim of the game is to put the red and blue arrow crosses on their correct place."},
        {EnglishLanguage, 23,
         u"All in all there are 225 different exercises, which will keep your brain busy for a "
         u"while. "},
        {EnglishLanguage, 28, u"Much fun with arranging!"},
        {NoLanguageChosen, 28, u"Much fun with arranging!"},
        {GermanLanguage, 1,
         u"Ziel des Spiels ist es, die roten und blauen Pfeilkreuze auf ihre richtigen Pl\u00E4tze "
         u"zu "},
        {GermanLanguage, 22,
         u"ben\u00F6tigte Anzahl von Z\u00FCgen in der Titelleiste angezeigt. Als weitere "},
        {GermanLanguage, 33, u"Viel Spa\u00DF beim Rangieren !"},
    };
    for (const auto& c : cases) {
        const QStringList lines = RulesLines(c.language);
        ASSERT_GE(lines.size(), c.line);
        EXPECT_EQ(lines[c.line - 1], QString::fromUtf16(c.text))
            << "language " << c.language << ", line " << c.line;
    }
}

TEST(Texts, EveryIdHasTextInBothLanguages) {
    for (int i = 0; i < TextIdCount; ++i) {
        for (Language language : {EnglishLanguage, GermanLanguage}) {
            EXPECT_FALSE(TextFor(IdAt(i), language).isEmpty())
                << "id " << i << ", language " << language;
        }
    }
}

TEST(Texts, EverythingFitsWindows1252AndLatin1) {
    // Printable Latin-1 only: 0x80-0x9F differ between the two sets, control codes show as boxes.
    const std::set<TextId> multiLine = {TextId::RulesText, TextId::InfoTerms,
                                        TextId::SettingsUnreadable, TextId::SaveFailedQuestion};
    for (int i = 0; i < TextIdCount; ++i) {
        for (Language language : {EnglishLanguage, GermanLanguage}) {
            const QString text = TextFor(IdAt(i), language);
            for (QChar c : text) {
                const char16_t u = c.unicode();
                const bool printable = (u >= 0x20 && u <= 0x7E) || (u >= 0xA0 && u <= 0xFF);
                const bool lineBreak = u == u'\n' && multiLine.count(IdAt(i));
                EXPECT_TRUE(printable || lineBreak)
                    << "id " << i << ", language " << language << ", char U+" << std::hex << int(u);
            }
            EXPECT_EQ(QString::fromLatin1(text.toLatin1()), text) << "id " << i;
        }
    }
}

TEST(Texts, GermanUsesTheFourSpecialLetters) {
    QString all;
    for (int i = 0; i < TextIdCount; ++i) {
        all += TextFor(IdAt(i), GermanLanguage);
    }
    for (char16_t letter : {u'\u00E4', u'\u00F6', u'\u00FC', u'\u00DF'}) {
        EXPECT_TRUE(all.contains(QChar(letter))) << std::hex << int(letter);
    }
}

TEST(Texts, InfoDialogTexts) {
    for (Language language : {EnglishLanguage, GermanLanguage}) {
        SCOPED_TRACE(language);
        const QString membership = TextFor(TextId::InfoMembership, language);
        EXPECT_FALSE(membership.contains(u'\n'));
        EXPECT_LE(membership.size(), 80);  // two rows of a narrow label
        EXPECT_TRUE(membership.contains(u"(VUSA)"));

        const int termsLines = TextFor(TextId::InfoTerms, language).split(u'\n').size();
        EXPECT_GE(termsLines, 8);
        EXPECT_LE(termsLines, 15);
        EXPECT_FALSE(TextFor(TextId::InfoTerms, language).endsWith(u'\n'));

        EXPECT_EQ(TextFor(TextId::InfoAuthorSign, language).size(), 1);
    }
    EXPECT_NE(TextFor(TextId::InfoTerms, EnglishLanguage),
              TextFor(TextId::InfoTerms, GermanLanguage));
    EXPECT_NE(TextFor(TextId::InfoMembership, EnglishLanguage),
              TextFor(TextId::InfoMembership, GermanLanguage));
}

TEST(Texts, MakerAddresses) {
    for (Language language : {EnglishLanguage, GermanLanguage}) {
        const QString mail = TextFor(TextId::MakerMailAddress, language);
        const QString homepage = TextFor(TextId::MakerHomepage, language);
        const QString link = TextFor(TextId::MakerHomepageLink, language);
        EXPECT_EQ(mail.count(u'@'), 1);
        EXPECT_TRUE(mail.endsWith(u".example"));
        EXPECT_FALSE(mail.contains(u' '));
        EXPECT_TRUE(homepage.startsWith(u"http://"));
        EXPECT_FALSE(homepage.endsWith(u' '));
        EXPECT_EQ(link, homepage + u' ');
        EXPECT_TRUE(homepage.endsWith(u".example/"));
    }
}

TEST(Texts, UnknownIdGivesNothing) {
    EXPECT_TRUE(TextFor(IdAt(TextIdCount), EnglishLanguage).isEmpty());
    EXPECT_TRUE(TextFor(IdAt(-1), GermanLanguage).isEmpty());
    EXPECT_TRUE(TextFor(IdAt(1000), GermanLanguage).isEmpty());
}

// The errors of the layers below as the player reads them: the store's designed messages the
// same in both languages, everything else translated, the variable parts in their places.
// In English each reads as the error's own message, which the tool and stderr show.
TEST(Texts, ErrorsOfTheLayersBelowInBothLanguages) {
    test::TempFolder folder;
    const std::string base = std::string(TIniCtrl::DefaultRegPath) + "\\";
    // The hive's own failures, met for real: what lies in the settings file's place.
    const auto writeInto = [](const std::string& path, bool moveAside) {
        SqliteHive hive(path);
        hive.SetMoveDamagedAside(moveAside);
        TIniCtrl(hive).WriteNumber("common", "level", 3);
    };
    const std::string folderPath = folder / "folder";
    std::filesystem::create_directory(folderPath);
    const std::string emptyPath = folder / "empty";
    test::WriteFileBytes(emptyPath, "");
    const std::string linkPath = folder / "link";
    std::filesystem::create_symlink(folder / "nowhere", linkPath);

    struct Case {
        const char* what;
        std::function<void()> raise;
        QString english;
        QString german;  // empty: as in English
    };
    const QString createBase = QString::fromUtf16(u"Erzeugung von Schl\u00FCssel ") +
                               QString::fromStdString(base) + QStringLiteral(" misslungen (");
    const Case cases[] = {
        {"a value of another type",
         [] { throw ERegistryException(StoreFailure::DataType, "back"); },
         QString::fromUtf16(u"Ung\u00FCltiger Datentyp f\u00FCr 'back'"),
         {}},
        {"a value not written",
         [] { throw ERegistryException(StoreFailure::SetData, "sound"); },
         QStringLiteral("Fehler beim Setzen der Daten f\u00FCr 'sound'"),
         {}},
        {"a folder in the file's place", [&] { writeInto(folderPath, true); },
         createBase + QString::fromStdString(folderPath) +
             QStringLiteral(": not a regular file (a directory); it was left as it is)"),
         createBase + QString::fromStdString(folderPath) +
             QString::fromUtf16(u": keine gew\u00F6hnliche Datei (ein Ordner); sie blieb, wie sie "
                                u"war)")},
        {"an empty file left alone", [&] { writeInto(emptyPath, false); },
         createBase + QString::fromStdString(emptyPath) +
             QStringLiteral(": an empty file, not a settings file; it was left as it is)"),
         createBase + QString::fromStdString(emptyPath) +
             QStringLiteral(
                 ": eine leere Datei, keine Einstellungsdatei; sie blieb, wie sie war)")},
        {"a link to nothing", [&] { writeInto(linkPath, true); },
         createBase + QString::fromStdString(linkPath) +
             QStringLiteral(": a link to a file that is not there; it was left as it is)"),
         createBase + QString::fromStdString(linkPath) +
             QStringLiteral(
                 ": ein Verweis auf eine Datei, die es nicht gibt; sie blieb, wie sie war)")},
        {"a sound refused", [] { throw ESoundError(SoundFailure::Refused, "device busy"); },
         QStringLiteral("Couldn't play the sound: device busy"),
         QStringLiteral("Der Ton konnte nicht gespielt werden: device busy")},
        {"a sound too long", [] { throw ESoundError(SoundFailure::TooLong, "ignored"); },
         QStringLiteral("Couldn't play the sound: The sound is too long"),
         QStringLiteral("Der Ton konnte nicht gespielt werden: Der Ton ist zu lang")},
        {"a sound output's own words",
         [] { throw ESoundError("Tonausgabe verweigert"); },
         QStringLiteral("Tonausgabe verweigert"),
         {}},
        {"a saved number that is none",
         [] { throw EConvertError("5x0"); },
         QStringLiteral("'5x0' is not a valid integer value"),
         {}},
        {"a broken picture", [] { throw EBrokenPicture(1); },
         QStringLiteral("The picture 1 of the game could not be read."),
         QStringLiteral("Das Bild 1 des Spiels konnte nicht gelesen werden.")},
        {"any other error",
         [] { throw std::runtime_error("Schl\u00FCssel kaputt"); },
         QString::fromUtf16(u"Schl\u00FCssel kaputt"),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.raise();
            ADD_FAILURE() << "nothing was raised";
        } catch (const std::exception& error) {
            for (Language language : EnglishReaders) {
                EXPECT_EQ(ErrorMessage(error, language), c.english) << "language " << language;
            }
            EXPECT_EQ(ErrorMessage(error, GermanLanguage),
                      c.german.isEmpty() ? c.english : c.german);
        }
    }
}

}  // namespace
}  // namespace travoli
