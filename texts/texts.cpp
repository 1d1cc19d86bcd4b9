#include "texts/texts.h"

#include <array>
#include <span>

namespace travoli {

namespace {

using Lines = std::span<const char16_t* const>;

// The texts box shows these one line per row; the blanks at line ends belong to the text.
constexpr const char16_t* RulesEnglish[] = {
    u"The aim of the game is to put the red and blue arrow crosses on their correct place.",
    u"",
    u"Click on one of the crosses. It will jump on the empty space. But this is only possible, ",
    u"if the direction of the arrow and the direction of the motion is the same. That means ",
    u"that a transversial arrow cross can only move diagonally and a straight arrow cross ",
    u"can only move horizontally or vertically. Certainly the empty space is now, where the ",
    u"arrow cross was before.",
    u"",
    u"Now try to move the blue crosses, which are at the beginning situated on the above ",
    u"places, to the three lower places with the blue background. In return, the three red ",
    u"crosses have to be moved from below to above.",
    u"",
    u"The two white crosses, which are at the beginning situated on the middle row, ",
    u"should be there again at the end. But it makes no difference where they are. That ",
    u"means you must not only fill the fields around, one cross can also be on the middle ",
    u"field.",
    u"",
    u"The level is solved, if the colors of all eight crosses fit with the colors of the fields ",
    u"where they are situated. If you have managed to do this, the necessary number of ",
    u"movements will be shown in the title bar. If you need more challenge, you can try to ",
    u"solve the exercise with less movements.",
    u"",
    u"All in all there are 225 different exercises, which will keep your brain busy for a while. ",
    u"You can select them with the scroll bar in the toolbar. The small green arrows on the ",
    u"right and the left side of the scroll bar, can be used to reach the next level or the ",
    u"previous level, which are still unsolved, directly.",
    u"",
    u"Much fun with arranging!",
};

constexpr const char16_t* RulesGerman[] = {
    u"Ziel des Spiels ist es, die roten und blauen Pfeilkreuze auf ihre richtigen Plätze zu ",
    u"befördern.",
    u"",
    u"Klicke auf eines der Kreuze. Es wird dann auf den freien Platz springen. Das geht ",
    u"aber nur, wenn die Pfeilrichtung mit der Bewegungsrichtung übereinstimmt. D.h. ein ",
    u"schräges Pfeilkreuz kann nur diagonal, ein gerades Pfeilkreuz kann nur waagrecht ",
    u"oder senkrecht bewegt werden. Der freie Platz ist jetzt natürlich dort, wo das ",
    u"Pfeilkreuz vorher war.",
    u"",
    u"Versuche nun durch wohl überlegtes Rangieren die blauen Kreuze, die sich zu ",
    u"Beginn auf den oberen Plätzen befinden, auf die drei unteren Plätze mit dem blauen ",
    u"Hintergrund zu befördern. Im Gegenzug müssen die drei roten Kreuze von unten ",
    u"nach oben transportiert werden.",
    u"",
    u"Die beiden weißen Kreuze, die sich zu Beginn in der mittleren Reihe befinden, ",
    u"sollten am Ende auch wieder dort sein. Es ist aber egal, auf welchen Plätzen sie ",
    u"sind. D.h. sie müssen nicht unbedingt nur die äußeren Felder besetzen, eines kann ",
    u"auch auf dem Mittelfeld sein.",
    u"",
    u"Die Stufe ist gelöst, wenn die Farben aller acht Kreuze mit den Farben der Felder, ",
    u"auf denen sie sich befinden, übereinstimmen. Ist Dir dies gelungen, dann wird die ",
    u"benötigte Anzahl von Zügen in der Titelleiste angezeigt. Als weitere ",
    u"Herausforderung kannst Du nun versuchen, die Aufgabe mit einer noch geringeren ",
    u"Zuganzahl zu schaffen.",
    u"",
    u"Insgesamt stehen Dir 225 verschiedene Ausgangsstellungen zur Verfügung, die ",
    u"Deine grauen Zellen schon eine ganze Weile beschäftigen werden. Die ",
    u"verschiedenen Aufgaben kannst Du mit dem Schiebebalken in der Werkzeugleiste ",
    u"erreichen. Die beiden grünen Pfeile links und rechts vom Schiebebalken dienen ",
    u"dazu, direkt die nächste bzw. vorhergehende noch nicht gelöste Stufe ",
    u"auszuwählen.",
    u"",
    u"Viel Spaß beim Rangieren !",
};

// Short lines: the terms box is narrow and keeps these breaks.
constexpr const char16_t* TermsEnglish[] = {
    u"Travoli is freeware.",
    u"",
    u"You may use this program free of charge for as long",
    u"as you like, and you may copy it and pass it on to",
    u"others, as long as it stays complete and unchanged.",
    u"",
    u"It must not be sold, neither alone nor together with",
    u"other products, and no fee may be asked for passing",
    u"it on.",
    u"",
    u"The program is given as it is, without any warranty.",
    u"The author is not liable for any damage that arises",
    u"from its use. You use it at your own risk.",
    u"",
    u"Have fun!",
};

constexpr const char16_t* TermsGerman[] = {
    u"Travoli ist Freeware.",
    u"",
    u"Du darfst dieses Programm kostenlos und zeitlich",
    u"unbegrenzt benutzen, kopieren und weitergeben,",
    u"solange es vollständig und unverändert bleibt.",
    u"",
    u"Es darf weder allein noch zusammen mit anderen",
    u"Produkten verkauft werden, und für die Weitergabe",
    u"darf kein Entgelt verlangt werden.",
    u"",
    u"Das Programm wird so geliefert, wie es ist, ohne",
    u"jede Gewährleistung. Der Autor haftet nicht für",
    u"Schäden, die aus seiner Benutzung entstehen.",
    u"",
    u"Viel Spaß!",
};

// A row with one text for both languages leaves the German column empty (nullptr).
constexpr const char16_t* Same = nullptr;

struct TextRow {
    constexpr TextRow(TextId id, const char16_t* english, const char16_t* german)
        : id(id), english(english), german(german) {}
    constexpr TextRow(TextId id, Lines englishLines, Lines germanLines)
        : id(id), englishLines(englishLines), germanLines(germanLines) {}

    TextId id;
    const char16_t* english = nullptr;
    const char16_t* german = nullptr;
    Lines englishLines;
    Lines germanLines;
};

constexpr std::array<TextRow, TextIdCount> Texts = {{
    {TextId::ProgramName, u"Travoli", Same},
    {TextId::TitlePrefix, u"Travoli - ", Same},
    {TextId::TitleLevelWord, u"level ", u"Stufe "},
    {TextId::TitleSeparator, u": ", Same},
    {TextId::TitleMovesWord, u" moves", u" Züge"},
    {TextId::TitleUnsolved, u"unsolved", u"ungelöst"},
    {TextId::MovesLabelWord, u" Moves: ", u" Züge: "},
    {TextId::MovesLabelTail, u" ", Same},
    {TextId::HintRestart, u"I try it again.", u"Ich probier's nochmal."},
    {TextId::HintRules, u"What's to do here?", u"Worum geht's da eigentlich?"},
    {TextId::HintSound, u"I dont like the sound always.", u"Die Geräusche mag ich nicht immer."},
    {TextId::HintExit, u"I have enough!", u"Ich hab genug!"},
    {TextId::HintPrevUnsolved, u"Previous unsolved level", u"Vorige ungelöste Stufe"},
    {TextId::HintLevelSelector, u"I try another level.", u"Ich probier eine andere Stufe."},
    {TextId::HintNextUnsolved, u"Next unsolved level", u"Nächste ungelöste Stufe"},
    {TextId::HintInfo, u"Who did these ZANFIR GAME?", u"Wer hat dieses Spiel nur verbrochen?"},
    {TextId::HintLanguage, u"Sprache/Language", Same},
    {TextId::MarqueeLine,
     u"Click here do visit the Zanfir Bytes Homepage.     "
     u"The Zanfir Games - a series of non violent games for everyone between 8 and 88.     "
     u"The legendary Zanfir Games are waiting for you.     ",
     u"Klicke hier um die Zanfir Games Homepage zu besuchen.     "
     u"Die Zanfir Games - eine Reihe von Denkspielen für alle von 8 bis 88.     "
     u"Die legendären Zanfir Games warten auf Dich.     "},
    {TextId::QuitQuestion, u"Do you really want to go?", u"Willst Du wirklich schon aufhören?"},
    {TextId::GiveUpQuestion, u"Do you really want to give up the level?",
     u"Willst Du die Stufe wirklich aufgeben?"},
    {TextId::ButtonYes, u"Yes", u"Ja"},
    {TextId::ButtonNo, u"No", u"Nein"},
    {TextId::ButtonOk, u"OK", Same},
    {TextId::ResultTooManyMoves, u"Sorry, you needed to many moves.",
     u"Du hast leider zu viele Züge benötigt."},
    {TextId::ResultFirstSolution, u"Hurrah, you did it! You've found a solution.",
     u"Hurra, geschafft! Du hast eine Lösung gefunden."},
    {TextId::ResultBetterSolution, u"Hurrah, you did it! You've found a better solution.",
     u"Hurra, geschafft! Du hast eine bessere Lösung gefunden."},
    {TextId::ResultSolvedAgain, u"Hurrah, you did it!", u"Hurra, geschafft!"},
    {TextId::RulesText, Lines(RulesEnglish), Lines(RulesGerman)},
    {TextId::InfoCaption, u"Zanfir Bytes - Freeware-Info", Same},
    {TextId::InfoMembership,
     u"The author is a member of the Verband unabhängiger Spieleautoren (VUSA).",
     u"Der Autor ist Mitglied im Verband unabhängiger Spieleautoren (VUSA)."},
    {TextId::InfoTerms, Lines(TermsEnglish), Lines(TermsGerman)},
    {TextId::InfoMailLabel, u"E-Mail:", Same},
    {TextId::InfoHomepageLabel, u"Homepage:", Same},
    {TextId::LanguageCaption, u"Travoli V2.1", Same},
    {TextId::LanguageEnglish, u"I speak english.", Same},
    {TextId::LanguageGerman, u"Ich spreche deutsch.", Same},
    {TextId::InfoProgramLine, u"Travoli V2.1", Same},
    {TextId::InfoAuthorSign, u"©", Same},
    {TextId::InfoAuthorName, u"Max Mustermann", Same},
    {TextId::InfoAuthorAddress1, u"Musterstraße 12", Same},
    {TextId::InfoAuthorAddress2, u"D-12345 Musterstadt", Same},
    {TextId::MakerMailAddress, u"zb@zanfir.example", Same},
    {TextId::MakerHomepage, u"http://zanfir.example/", Same},
    {TextId::MakerHomepageLink, u"http://zanfir.example/ ", Same},
    {TextId::AccessibleBoard, u"Board", u"Spielfeld"},
    {TextId::AccessibleCell, u"row %1, column %2: %3", u"Zeile %1, Spalte %2: %3"},
    {TextId::AccessibleRedStraight, u"red straight cross", u"rotes gerades Kreuz"},
    {TextId::AccessibleWhiteStraight, u"white straight cross", u"weißes gerades Kreuz"},
    {TextId::AccessibleBlueStraight, u"blue straight cross", u"blaues gerades Kreuz"},
    {TextId::AccessibleRedDiagonal, u"red diagonal cross", u"rotes schräges Kreuz"},
    {TextId::AccessibleWhiteDiagonal, u"white diagonal cross", u"weißes schräges Kreuz"},
    {TextId::AccessibleBlueDiagonal, u"blue diagonal cross", u"blaues schräges Kreuz"},
    {TextId::AccessibleEmptyCell, u"empty cell", u"leeres Feld"},
    {TextId::AccessibleBoardKeys,
     u"The digit keys press the board's cells as laid out on the numeric keypad: 7 8 9 the top "
     u"row, 4 5 6 the middle row, 1 2 3 the bottom row.",
     u"Die Zifferntasten drücken die Felder wie auf dem Ziffernblock: 7 8 9 die obere Reihe, "
     u"4 5 6 die mittlere, 1 2 3 die untere."},
    {TextId::AccessibleLevelKeys, u"Arrow keys, Page Up, Page Down, Home and End choose the level.",
     u"Pfeiltasten, Bild auf, Bild ab, Pos 1 und Ende wählen die Stufe."},
    {TextId::AccessibleKey, u"Key: %1", u"Taste: %1"},
    {TextId::ControlKeyName, u"Ctrl", u"Strg"},
    {TextId::AccessibleSound, u"Sound", u"Geräusche"},
    {TextId::AccessibleMarquee, u"Zanfir Bytes homepage", u"Zanfir Bytes Homepage"},
    {TextId::AccessibleMakerLogo, u"Zanfir Bytes logo", u"Zanfir-Bytes-Logo"},
    {TextId::AccessibleAssociationLogo, u"VUSA logo", u"VUSA-Logo"},
    {TextId::AccessibleRefused, u"No move: %1, row %2, column %3",
     u"Kein Zug: %1, Zeile %2, Spalte %3"},
    {TextId::SettingsUnreadable,
     u"Your saved settings could not be read. The game starts with its defaults for what it "
     u"could not read and leaves the saved values as they are.\n\n%1",
     u"Deine gespeicherten Einstellungen konnten nicht gelesen werden. Das Spiel beginnt für "
     u"das Ungelesene mit den Grundeinstellungen und lässt die gespeicherten Werte, wie sie "
     u"sind.\n\n%1"},
    {TextId::SaveFailedQuestion,
     u"Your settings could not be saved in the file %1.\n\n%2\n\n(%3)\n\n"
     u"End the game without saving? What changed in this game is then lost. Or go back to "
     u"the game, put the cause right and quit again.",
     u"Deine Einstellungen konnten nicht in der Datei %1 gespeichert werden.\n\n%2\n\n(%3)"
     u"\n\nDas Spiel ohne Speichern beenden? Was sich in diesem Spiel geändert hat, geht "
     u"dann verloren. Oder zurück zum Spiel, die Ursache beheben und noch einmal beenden."},
    {TextId::SaveFailedEnd, u"End without saving", u"Ohne Speichern beenden"},
    {TextId::SaveFailedBack, u"Back to the game", u"Zurück zum Spiel"},
    {TextId::SaveCauseReadOnlyFile, u"The file is write-protected.",
     u"Die Datei ist schreibgeschützt."},
    {TextId::SaveCauseReadOnlyFolder,
     u"The folder that holds the file is write-protected, or the folder cannot be made.",
     u"Der Ordner der Datei ist schreibgeschützt, oder der Ordner lässt sich nicht "
     u"anlegen."},
    {TextId::SaveCauseReadOnlyDisk, u"The drive that holds the file can only be read.",
     u"Das Laufwerk der Datei kann nur gelesen werden."},
    {TextId::SaveCauseDiskFull, u"The drive that holds the file is full.",
     u"Das Laufwerk der Datei ist voll."},
    {TextId::SaveCauseNotAFile,
     u"In the place of the file, or of its folder, there is something else: a folder, a "
     u"device, a link that leads nowhere.",
     u"An der Stelle der Datei oder ihres Ordners liegt etwas anderes: ein Ordner, ein "
     u"Gerät, ein Verweis ins Leere."},
    {TextId::SaveCauseLocked, u"Another program holds the file locked.",
     u"Ein anderes Programm hält die Datei gesperrt."},
    {TextId::SaveCauseNotAHive, u"The file is not a settings file of this game.",
     u"Die Datei ist keine Einstellungsdatei dieses Spiels."},
    {TextId::SaveCauseUnknown, u"The cause is in the settings store's message that follows.",
     u"Die Ursache steht in der folgenden Meldung des Einstellungsspeichers."},
    {TextId::UnexpectedError, u"An unexpected error occurred.",
     u"Ein unerwarteter Fehler ist aufgetreten."},
    {TextId::SettingsMovedAside,
     u"The settings file %1 could not be read. It has been moved to %2, and the game goes on "
     u"with fresh settings.",
     u"Die Einstellungsdatei %1 konnte nicht gelesen werden. Sie wurde nach %2 verschoben, und "
     u"das Spiel geht mit frischen Einstellungen weiter."},
    {TextId::StoreDataType, u"Ungültiger Datentyp für '%1'", Same},
    {TextId::StoreGetData, u"Fehler beim Holen der Daten für '%1'", Same},
    {TextId::StoreSetData, u"Fehler beim Setzen der Daten für '%1'", Same},
    {TextId::StoreDeleteData, u"Fehler beim Löschen der Daten für '%1'", Same},
    {TextId::StoreCreateKey, u"Erzeugung von Schlüssel %1 misslungen", Same},
    {TextId::StoreOpenKey, u"Fehler beim Öffnen von Schlüssel %1", Same},
    {TextId::StoreCommit, u"Fehler beim Speichern der Einstellungen", Same},
    {TextId::StoreWithCause, u"%1 (%2)", Same},
    {TextId::HiveAt, u"%1: %2", Same},
    {TextId::HiveLinkToNothing, u"a link to a file that is not there",
     u"ein Verweis auf eine Datei, die es nicht gibt"},
    {TextId::HiveInPlaceDirectory, u"not a regular file (a directory)",
     u"keine gewöhnliche Datei (ein Ordner)"},
    {TextId::HiveInPlaceDevice, u"not a regular file (a device)",
     u"keine gewöhnliche Datei (ein Gerät)"},
    {TextId::HiveInPlaceFifo, u"not a regular file (a FIFO)",
     u"keine gewöhnliche Datei (eine FIFO)"},
    {TextId::HiveInPlaceSocket, u"not a regular file (a socket)",
     u"keine gewöhnliche Datei (ein Socket)"},
    {TextId::HiveInPlaceOther, u"not a regular file (no plain file)",
     u"keine gewöhnliche Datei (keine einfache Datei)"},
    {TextId::HiveEmptyFile, u"an empty file, not a settings file",
     u"eine leere Datei, keine Einstellungsdatei"},
    {TextId::HiveNotOurs, u"not a settings file", u"keine Einstellungsdatei"},
    {TextId::HiveFailsCheck, u"a settings file that fails its integrity check",
     u"eine Einstellungsdatei, die ihre Prüfung nicht besteht"},
    {TextId::HiveKeepsDamaged, u"the settings file keeps turning out damaged",
     u"die Einstellungsdatei erweist sich immer wieder als beschädigt"},
    {TextId::HiveCannotMoveAside, u"damaged, and it cannot be moved aside: %1",
     u"beschädigt, und sie lässt sich nicht beiseitelegen: %1"},
    {TextId::HiveNoFreeName, u"damaged, and no free name to move it to",
     u"beschädigt, und kein Name ist frei, um sie beiseitezulegen"},
    {TextId::HiveNotSaved, u"the change was not saved", u"die Änderung wurde nicht gespeichert"},
    {TextId::HiveInUse, u"the hive is in use", u"der Einstellungsspeicher ist in Gebrauch"},
    {TextId::HiveLeftAsItIs, u"%1; it was left as it is", u"%1; sie blieb, wie sie war"},
    {TextId::SoundRefused, u"Couldn't play the sound: %1",
     u"Der Ton konnte nicht gespielt werden: %1"},
    {TextId::SoundTooLarge, u"The sound image is too large", u"Das Tonabbild ist zu groß"},
    {TextId::SoundTooLong, u"The sound is too long", u"Der Ton ist zu lang"},
    {TextId::NotAnInteger, u"'%1' is not a valid integer value", Same},
    {TextId::BrokenPicture, u"The picture %1 of the game could not be read.",
     u"Das Bild %1 des Spiels konnte nicht gelesen werden."},
}};

// Lookup goes by position, so every row must sit at its own id.
constexpr bool RowsInIdOrder() {
    for (int i = 0; i < TextIdCount; ++i) {
        if (static_cast<int>(Texts[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(RowsInIdOrder(), "text rows must follow the order of TextId");

QString JoinLines(Lines lines) {
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += u'\n';
        }
        text += QString::fromUtf16(lines[i]);
    }
    return text;
}

const TextRow* RowOf(TextId id) {
    const int index = static_cast<int>(id);
    if (index < 0 || index >= TextIdCount) {
        return nullptr;
    }
    return &Texts[index];
}

}  // namespace

QString TextFor(TextId id, Language language) {
    const TextRow* row = RowOf(id);
    if (row == nullptr) {
        return QString();
    }
    const bool german = SpeaksGerman(language);
    if (!row->englishLines.empty()) {
        return JoinLines(german ? row->germanLines : row->englishLines);
    }
    if (german && row->german != Same) {
        return QString::fromUtf16(row->german);
    }
    return QString::fromUtf16(row->english);
}

}  // namespace travoli
