// Every text the program speaks or shows, in one place. Blanks and spellings are part of the texts.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quorrel::texts {

// Words said one way in full and another with the option Brief Speech on; the speech services choose.
// An empty brief form says nothing.
struct Wording {
    std::string_view Full;
    std::string_view Brief;
};

// Window and application.
inline constexpr std::string_view ProgramName = "Quorrel";
inline constexpr std::string_view CaptionSeparator = " - ";
inline constexpr std::string_view UntitledGame = "Untitled.qrl";
inline constexpr std::string_view GamesFolderName = "Games";
inline constexpr std::string_view HelpFileName = "Quorr.html";
inline constexpr std::string_view LabelFree = "Free";
inline constexpr std::string_view LabelHome = "Home";
inline constexpr std::string_view LabelColumns = "Columns";

// Start-up.
inline constexpr std::string_view WelcomeNewGame = "Press control n to start a new game! ";
inline constexpr std::string_view WelcomeHelp = "Press F1 for help! ";
inline constexpr std::string_view WelcomeKeys = "Press F2 to hear a list of keyboard commands! ";

// Deal.
inline constexpr std::string_view Shuffling = "Shuffeling cards, please wait!";

// Questions. CR LF separates and ends the lines.
inline constexpr std::string_view GameInProgress = "There is a game in progress.";
inline constexpr std::string_view SaveBeforeNewGame = "Do you want to save this game before you start a new game?";
inline constexpr std::string_view SaveBeforeExiting = "Do you want to save this game before exiting?";
inline constexpr std::string_view GameInProgressOpen = "There is a game in progress. ";
inline constexpr std::string_view SaveBeforeOpening = "Do you want to save this game before you open a new game? ";
inline constexpr std::string_view CrLf = "\r\n";

// Cell announcements.
inline constexpr std::string_view Empty = " Empty ";
inline constexpr std::string_view De = " de ";
inline constexpr std::string_view Column = " Column ";
inline constexpr std::string_view Selected = " selected ";
// Brief Speech: a card is its rank and suit words without " de " between them (" septs  Coeurs "),
// and a grid's name is left out when the focus comes back to the grid the player just left or is in,
// whose name was said (or left out so) when they last came to it.
inline constexpr Wording DeWords = {De, ""};
// Brief Speech: the cursor's column number, with Speak Column Numbers on, is the number alone (" 4").
inline constexpr Wording ColumnNumberWords = {Column, ""};
inline constexpr std::string_view ColumnsGrid = " Columns ";
inline constexpr std::string_view FreeCellsGrid = " Free Cells ";
inline constexpr std::string_view HomeCellsGrid = " Home Cells ";

// Rank words by rank value 1 (ace) to 13 (king). The four is a blank, "qat", U+2E72 and a blank.
inline constexpr std::array<std::string_view, 13> RankWords = {" ace ",  " dhe ", " trois ",     " qat\u2E72 ",
                                                               " cinq ", " six ", " septs ",     " huits ",
                                                               " neuf ", " dix ", " val\u00E9 ", " dames ",
                                                               " rois "};

// Suit words by suit letter.
inline constexpr std::string_view SuitSpades = " Piques ";
inline constexpr std::string_view SuitClubs = " Tr\u00E8fl ";
inline constexpr std::string_view SuitHearts = " Coeurs ";
inline constexpr std::string_view SuitDiamonds = " Carreaux ";

// Picking up and dropping.
inline constexpr std::string_view Unselected = " unselected ";
inline constexpr std::string_view WasMoved = " was moved ";
// Brief Speech: a card picked up is said alone, without " selected " (the cursor on it still says
// it); a drop says " moved ", after the card's words only when they were not said as it was picked up.
inline constexpr std::string_view BriefMoved = " moved ";
inline constexpr Wording PickedUpWords = {Selected, ""};
inline constexpr Wording MovedWords = {WasMoved, BriefMoved};
inline constexpr std::string_view CannotMoveEmptyCell = " Can not move an empty cell! ";
inline constexpr std::string_view OnlyBottomCard = " Only the bottom card in a column can be moved! ";
inline constexpr std::string_view ColumnCellMustBeEmpty =
    " When moving a card to a column, the cell you are moving the card to must be empty.  ";
inline constexpr std::string_view AlternatingColors =
    " Cards placed in columns must be in alternating colors.  Choose another cell. ";
inline constexpr std::string_view DescendingOrder =
    " Cards placed in columns must be in descending order.  Choose another cell. ";
inline constexpr std::string_view FreeCellEmpty = " You can not move an empty cell. ";
inline constexpr std::string_view FreeCellMustBeEmpty = " When moving a card to a Free Cell, the cell must be empty.  ";
inline constexpr std::string_view HomeCardsStay = " You can not move a card in a home cell once it is in a home cell. ";
inline constexpr std::string_view FirstHomeCardAce = " The first card in a home cell must be an Ace.  ";
inline constexpr std::string_view HomeSameSuit =
    " When moving a card on to a card in the home cell, the cards must be of the same suite.  ";

// The end of a game.
inline constexpr std::string_view GameOver = "The game is over!";
inline constexpr std::string_view PlayAgain = "Do you want to play again?";

// The key list (F2), eleven texts. The F3 and F4 texts have no trailing blank.
inline constexpr std::array<std::string_view, 11> KeyList = {
    "Use the tab key to move between the 3 grids. ",
    "To move a card, press the enter key on the card to select it, then move to the destination and press the "
    "enter key to drop it. ",
    "Press the Escape key to unselect a card you have selected to move. ",
    "Use the up, down, left, and right arrow keys to move around inside the 3 grids. ",
    "Press F3 to read the contents of the Free Cells.",
    "Press F4 to read the contents of the Home Cells.",
    "Press F5 to move to the previous card in the bottom row of the columns. ",
    "Press F6 to move to the next card in the bottom row of the columns. ",
    "Press f7 to move to the previous card in the same suit. ",
    "Press f8 to move to the next card in the same suit. ",
    "Press control f to find a particular card. ",
};

// Reading commands.
inline constexpr std::string_view AllFreeCellsEmpty = " All Free Cells are empty. ";
inline constexpr std::string_view AllHomeCellsEmpty = " All Home Cells are empty. ";
inline constexpr std::string_view Cell = " Cell ";
inline constexpr std::string_view IsEmpty = " is empty! ";
inline constexpr std::string_view MustBeInColumns = "You must be in the Columns grid to use this function.  ";
inline constexpr std::string_view MustBeOnACard =
    " You must move to a cell containing a card for this function to work. ";

// Finding a card.
inline constexpr std::string_view AlreadyPlayed = " Has already been played. ";
inline constexpr std::string_view FindCaption = "Find A Card";
inline constexpr std::string_view FindCardsLabel = "Cards";
inline constexpr std::string_view FindSuitesLabel = "Suites";
inline constexpr std::string_view FindButton = "&Find";
inline constexpr std::string_view CancelButton = "&Cancel";
// The two lists: the position decides the code.
inline constexpr std::array<std::string_view, 13> FindCardEntries = {"Ace", "2", "3",  "4",         "5",     "6",   "7",
                                                                     "8",   "9", "10", "Val\u00E9", "Dames", "Rois"};
inline constexpr std::array<std::string_view, 13> FindCardRanks = {"A", "2", "3",  "4", "5", "6", "7",
                                                                   "8", "9", "10", "J", "Q", "K"};
inline constexpr std::array<std::string_view, 4> FindSuiteEntries = {"Tr\u00E8fl", "Carreaux", "Coeurs", "Piques"};
inline constexpr std::array<std::string_view, 4> FindSuiteLetters = {"C", "D", "H", "S"};

// Game files.
inline constexpr std::string_view GameFileFilter = "FreeCell Game Files (*.qrl)|*.qrl";
inline constexpr std::string_view GameFileDefaultExt = "QRL";
inline constexpr std::string_view GameFileExtension = ".qrl";
inline constexpr std::string_view WasSaved = " was saved! ";
inline constexpr std::string_view NeedsExtension = "A game file must have the .qrl extension.  ";
inline constexpr std::string_view ExtensionExample = "For example, Game1.qrl";
inline constexpr std::string_view NotAGame = " is not a Quorrel game: ";

// Help and About.
inline constexpr std::string_view AboutCaption = "About Quorrel";
inline constexpr std::string_view AboutTitlePrefix = "About ";
inline constexpr std::string_view VersionPrefix = "Version ";
inline constexpr std::string_view AboutWebSite =
    "Quorrel is FreeCell for players who listen instead of look. News, help and updates: https://quorrel.invalid/";
inline constexpr std::string_view AboutCopyright =
    "Copyright (C) 2026 the Quorrel developers. Quorrel comes with no warranty.";
inline constexpr std::string_view OkButton = "OK";
inline constexpr std::string_view NoHelpViewer = "quorrel: the help could not be opened: ";

// Menu captions ("&" marks the access key; trailing blanks are part of them).
inline constexpr std::string_view MenuGame = "&Game";
inline constexpr std::string_view MenuGameNew = "&New Game ";
inline constexpr std::string_view MenuGameOpen = "&Open Game... ";
inline constexpr std::string_view MenuGameSave = "&Save Game ";
inline constexpr std::string_view MenuGameSaveAs = "S&ave Game As... ";
inline constexpr std::string_view MenuGameExit = "E&xit Program";
inline constexpr std::string_view MenuOptions = "&Options";
inline constexpr std::string_view MenuOptionsFind = "&Find A Card... ";
inline constexpr std::string_view MenuOptionsPreviousCard = "&Previous Card In Suite ";
inline constexpr std::string_view MenuOptionsNextCard = "&Next Card In Suite ";
inline constexpr std::string_view MenuOptionsPreviousBottom = "Previous Card In &Bottom Row ";
inline constexpr std::string_view MenuOptionsNextBottom = "Next &Card In Bottom Row ";
inline constexpr std::string_view MenuOptionsSpeakColumns = "&Speak Column Numbers ";
inline constexpr std::string_view MenuHelp = "&Help";
inline constexpr std::string_view MenuHelpContents = "&Help Topics F1";
inline constexpr std::string_view MenuHelpAbout = "&About Quorrel";

// The Play menu: taking moves back, making them again, restarting the deal, numbered deals.
inline constexpr std::string_view MenuPlay = "&Play";
inline constexpr std::string_view MenuPlayUndo = "&Undo Move";
inline constexpr std::string_view MenuPlayRedo = "&Redo Move";
inline constexpr std::string_view MenuPlayRestart = "Re&start This Deal";
// An undone move: the card's words, " back to ", then where it is again (" Column " and the number, or
// " a Free Cell "). A redone move: the card's words, " moved again to ", then where it went.
inline constexpr std::string_view BackTo = " back to ";
inline constexpr std::string_view MovedAgainTo = " moved again to ";
inline constexpr std::string_view BriefAgainTo = " again to ";
inline constexpr Wording MovedAgainWords = {MovedAgainTo, BriefAgainTo};
inline constexpr std::string_view AFreeCell = " a Free Cell ";
inline constexpr std::string_view TheHomeCells = " the Home Cells ";
inline constexpr std::string_view NothingToUndo = " Nothing to undo. ";
inline constexpr std::string_view NothingToRedo = " Nothing to redo. ";
// Restart on a table that is still the one the game began with.
inline constexpr std::string_view NothingToRestart = " Nothing to restart. ";
// Before the column grid's announcement.
inline constexpr std::string_view DealRestarted = " The deal was restarted. ";
inline constexpr std::string_view RestartUndone = " The restart was undone. ";
// After the column grid's announcement of a numbered deal, followed by the number (" Game number  617").
inline constexpr std::string_view GameNumber = " Game number ";

// The Deal Game Number dialog (Play menu). Without a screen reader to read it, the program says the
// field's label when the dialog opens; a typed text that is no game number is refused in a message box.
inline constexpr std::string_view MenuPlayDealNumber = "&Deal Game Number... ";
inline constexpr std::string_view DealNumberCaption = "Deal Game Number";
inline constexpr std::string_view DealNumberLabel = "Game number, from 1 to 1000000:";
inline constexpr std::string_view NotADealNumber = "Please type a game number from 1 to 1000000. ";

// Hints and the verdict (Play menu): the solver's answer for the table as it stands. A hint is
// " Play ", the card's words, " to ", then where it goes (" Column " and the number, " the empty Column "
// and the number, " a Free Cell " or " the Home Cells "). The verdict is CanBeWonIn, the number of
// moves of the way found, and MovesOrFewer (" This game can still be won in  87 moves or fewer. "), or
// OneMove after the number 1.
inline constexpr std::string_view MenuPlayHint = "&Hint";
inline constexpr std::string_view MenuPlayVerdict = "Can This Game Be &Won?";
inline constexpr std::string_view HintPlay = " Play ";
inline constexpr std::string_view HintTo = " to ";
inline constexpr std::string_view TheEmptyColumn = " the empty Column ";
inline constexpr std::string_view CanBeWonIn = " This game can still be won in ";
inline constexpr std::string_view MovesOrFewer = " moves or fewer. ";
inline constexpr std::string_view OneMove = " move. ";
inline constexpr std::string_view CannotBeWon = " This game can no longer be won. Control+Z takes moves back. ";
inline constexpr std::string_view NoHintInTime = " No hint was found in time. ";
inline constexpr std::string_view NoVerdictInTime = " No answer was found in time. ";
// Said once when the search takes longer than a moment; the answer follows when it comes.
inline constexpr std::string_view Thinking = " Thinking. ";

// Reading a column, the table and the bottom row, and the statistics (Play menu).
inline constexpr std::string_view MenuPlayReadColumn = "Read This &Column";
inline constexpr std::string_view MenuPlayReadTable = "Read The &Table";
inline constexpr std::string_view MenuPlayReadBottomRow = "Read The &Bottom Row";
inline constexpr std::string_view MenuPlayStatistics = "St&atistics";  // S is already Restart This Deal's access key
// A column: " Column " and its number, its cards top to bottom, then " Cards " and their number and
// " Run of " and the number of cards that end it in alternating colours and descending rank. An
// empty column is " Column ", its number and " is empty! ".
inline constexpr std::string_view CardsInColumn = " Cards ";
inline constexpr std::string_view RunOf = " Run of ";
// The table: each suit's word and " up to " and the rank word of its top card home, or " none home ";
// then the empty free cells, the empty columns (their numbers, or " none "), and the cards left.
inline constexpr std::string_view UpTo = " up to ";
inline constexpr std::string_view NoneHome = " none home ";
inline constexpr std::string_view EmptyFreeCells = " Empty free cells: ";
inline constexpr std::string_view EmptyColumns = " Empty columns: ";
inline constexpr std::string_view NoColumns = " none ";
inline constexpr std::string_view CardsOnTable = " Cards on the table: ";
// The statistics, in a box that asks whether to reset them. The numbers follow the texts. The numbered
// deals won are counted, then their numbers follow: ". Numbered deals won: 2, deal numbers 617, 1. ",
// ". Numbered deals won: 1, deal number 617. ", or past ten "25, the latest 10: deal numbers ...".
inline constexpr std::string_view StatisticsCaption = "Statistics";
inline constexpr std::string_view GamesPlayed = "Games played: ";
inline constexpr std::string_view GamesWon = ". Games won: ";
inline constexpr std::string_view PercentWon = " percent";
inline constexpr std::string_view CurrentStreak = ". Current streak of wins: ";
inline constexpr std::string_view LongestStreak = ". Longest streak of wins: ";
inline constexpr std::string_view DealsWon = ". Numbered deals won: ";
inline constexpr std::string_view LatestDeals = ", the latest ";
inline constexpr std::string_view DealNumberWord = "deal number ";
inline constexpr std::string_view DealNumbersWord = "deal numbers ";
inline constexpr std::string_view ListColon = ": ";
inline constexpr std::string_view NoDeals = "none";
inline constexpr std::string_view ListSeparator = ", ";
inline constexpr std::string_view SentenceEnd = ". ";
inline constexpr std::string_view ResetStatistics = "Do you want to reset the statistics?";
inline constexpr std::string_view StatisticsWereReset = " The statistics were reset. ";
inline constexpr std::string_view StatisticsFileName = "Statistics.txt";
// A damaged statistics file is renamed: "Statistics.damaged.txt", or with a number before ".txt".
inline constexpr std::string_view DamagedStatisticsStem = "Statistics.damaged";
inline constexpr std::string_view DamagedStatisticsExt = ".txt";
inline constexpr std::string_view StatisticsDamaged = "The statistics file was damaged. It was renamed to ";
inline constexpr std::string_view StatisticsStartAgain = ". The statistics start again from zero.";
// The statistics file could not be written: where, what the player can do, then the system's reason.
inline constexpr std::string_view StatisticsNotSaved = "The statistics could not be saved in the folder ";
inline constexpr std::string_view StatisticsNotSavedFix =
    "Check that this folder exists and that you may write to it. The game goes on, and Quorrel tries again "
    "the next time the statistics change. The system said: ";

// Direct moves (Play menu): a column's digit picks its bottom card up or drops the picked-up card
// below it, Shift with the digit moves the run at the bottom of the cursor's column there, Alt with a
// digit picks up or drops at that free cell, F drops in the first empty free cell, H sends the card
// home, and Space moves it to its best place.
inline constexpr std::string_view MenuPlayQuickMove = "&Quick Move";
inline constexpr std::string_view MenuPlayToFreeCell = "Move To A &Free Cell";
inline constexpr std::string_view MenuPlayToHome = "Move To The H&ome Cells";
inline constexpr std::string_view MenuPlayColumns = "Co&lumn Keys";
inline constexpr std::string_view MenuPlayRuns = "Move Ru&n To Column";
inline constexpr std::string_view MenuPlayFreeCells = "Fr&ee Cell Keys";
// The submenus' items are these followed by "&" and the number.
inline constexpr std::string_view MenuColumnItem = "Column ";
inline constexpr std::string_view MenuFreeCellItem = "Free Cell ";
// A quick move: the card's words, " to ", then where it went (as in undo's words). Nowhere to go:
inline constexpr std::string_view WentTo = " to ";
inline constexpr std::string_view NowhereToGo = " This card has nowhere to go. ";
// H on a card of a suit already home but not the next of it.
inline constexpr std::string_view NotNextHome = " Only the next card of its suit can go home. ";
// A run: the number of cards, " cards from ", the top card's words, " to ", then the column
// (" 3 cards from  dix  de  Coeurs  to  Column  5"). Undone and made again, " back to " or " moved again
// to " stand in place of " to ".
inline constexpr std::string_view CardsFrom = " cards from ";
// Brief Speech: " 3 cards  valé  Trèfl  to  Column  5".
inline constexpr std::string_view BriefCards = " cards ";
inline constexpr Wording CardsFromWords = {CardsFrom, BriefCards};
// A run that cannot move: the column is empty, is the destination itself, nothing of it goes on the
// destination's bottom card, or it is longer than the free cells and empty columns let move: the
// number of cards, RunTooLong, the number that can move and CanMoveNow.
inline constexpr std::string_view NoRun = " There is no run in an empty column. ";
inline constexpr std::string_view RunAlreadyThere = " The run is already in that column. ";
inline constexpr std::string_view RunDoesNotFit = " No card of this run goes on that column. ";
inline constexpr std::string_view RunTooLong = " cards need more free cells or empty columns. At most ";
inline constexpr std::string_view CanMoveNow = " can move now. ";
// Cards that went home by themselves after a move: their words, then " went home ". Undone, their
// words and " back from the Home Cells ".
inline constexpr std::string_view WentHome = " went home ";
inline constexpr std::string_view BackFromHome = " back from the Home Cells ";
// Brief Speech: " home " and " back from home ".
inline constexpr std::string_view BriefHome = " home ";
inline constexpr std::string_view BriefBackFromHome = " back from home ";
inline constexpr Wording WentHomeWords = {WentHome, BriefHome};
inline constexpr Wording BackFromHomeWords = {BackFromHome, BriefBackFromHome};
// The Options menu's check item, and where it is remembered.
inline constexpr std::string_view MenuOptionsSafeHome = "Move Safe Cards &Home";
inline constexpr std::string_view SettingsPlaySection = "Play";
inline constexpr std::string_view SettingsSafeHomeKey = "SafeCardsHome";
// The Options menu's check item for the brief words, and where it is remembered (a section of its own).
// B is Previous Card In Bottom Row's access key, so the item has the R of Brief.
inline constexpr std::string_view MenuOptionsBrief = "B&rief Speech";
inline constexpr std::string_view SettingsWordsSection = "Words";
inline constexpr std::string_view SettingsBriefKey = "Brief";
// The Options menu's sounds: a check item, on by default, and the sounds' own volume, one step louder or
// softer. Each step says its words and plays a sample sound at the new volume; at a limit the program
// says that it is there in place of the words. Remembered in a section of their own, the volume under
// SettingsVolumeKey. O, U and T are the access keys the Options menu leaves free.
inline constexpr std::string_view MenuOptionsSounds = "S&ounds";
inline constexpr std::string_view MenuOptionsSoundsLouder = "Lo&uder Sounds";
inline constexpr std::string_view MenuOptionsSoundsSofter = "Sof&ter Sounds";
inline constexpr std::string_view SoundsLouder = " Louder sounds ";
inline constexpr std::string_view SoundsSofter = " Softer sounds ";
inline constexpr std::string_view SoundsLoudest = " These are the loudest sounds. ";
inline constexpr std::string_view SoundsSoftest = " These are the softest sounds. ";
inline constexpr std::string_view SettingsSoundsSection = "Sounds";
inline constexpr std::string_view SettingsSoundsOnKey = "On";

// The persistent setting.
inline constexpr std::string_view SettingsApp = "Quorrel";
inline constexpr std::string_view SettingsSection = "StartUp";
inline constexpr std::string_view SettingsColumnsKey = "Columns";
inline constexpr std::string_view Checked = "Checked";
inline constexpr std::string_view Unchecked = "Unchecked";

// A number as the program speaks it: a leading blank where the sign would stand (3 is " 3").
inline std::string SpokenNumber(int n) { return (n < 0 ? "" : " ") + std::to_string(n); }

// Failure messages.
inline constexpr std::string_view ErrorPrefix = "Error: ";

// Descriptions of the file system's refusals: places that hold no game file, and names too long
// for their folder.
inline constexpr std::string_view PathFileAccessError = "Path/File access error";
inline constexpr std::string_view IsAFolder = " is a folder, not a file";
inline constexpr std::string_view IsANamedPipe = " is a named pipe, not a file";
inline constexpr std::string_view IsADevice = " is a device, not a file";
inline constexpr std::string_view IsASocket = " is a socket, not a file";
inline constexpr std::string_view IsNoFile = " is not a file";
inline constexpr std::string_view FileNameTooLong = "File name too long";

// The description of a setting that the settings store could not keep.
inline constexpr std::string_view SettingNotSaved = "The setting could not be saved for the next run";

// Message boxes as the program says them when no screen reader reads them: after the box's text, its
// buttons.
inline constexpr std::string_view BoxYesNo = " Yes or No. ";
inline constexpr std::string_view BoxOk = " OK. ";

// The Options menu's Speech submenu: how fast, how loud, how high and in which voice the game speaks.
// Each change is said at the new setting; at a limit the program says that it is there, in place of
// the word for the change.
inline constexpr std::string_view MenuSpeech = "Sp&eech";
inline constexpr std::string_view MenuSpeechFaster = "&Faster";
inline constexpr std::string_view MenuSpeechSlower = "&Slower";
inline constexpr std::string_view MenuSpeechLouder = "&Louder";
inline constexpr std::string_view MenuSpeechSofter = "S&ofter";
inline constexpr std::string_view MenuSpeechHigher = "&Higher Pitch";
inline constexpr std::string_view MenuSpeechLower = "Lo&wer Pitch";
inline constexpr std::string_view MenuSpeechVoice = "&Voice... ";
inline constexpr std::string_view MenuSpeechDefaults = "&Default Speech";
inline constexpr std::string_view SpeechFaster = " Faster ";
inline constexpr std::string_view SpeechSlower = " Slower ";
inline constexpr std::string_view SpeechLouder = " Louder ";
inline constexpr std::string_view SpeechSofter = " Softer ";
inline constexpr std::string_view SpeechHigher = " Higher ";
inline constexpr std::string_view SpeechLower = " Lower ";
inline constexpr std::string_view SpeechFastest = " This is the fastest speech. ";
inline constexpr std::string_view SpeechSlowest = " This is the slowest speech. ";
inline constexpr std::string_view SpeechLoudest = " This is the loudest speech. ";
inline constexpr std::string_view SpeechSoftest = " This is the softest speech. ";
inline constexpr std::string_view SpeechHighest = " This is the highest pitch. ";
inline constexpr std::string_view SpeechLowest = " This is the lowest pitch. ";
inline constexpr std::string_view SpeechDefaults = " The speech is back to its defaults. ";
// The voice chooser lists the server's voices by name; the chosen voice says its name. A voice's
// variants are named after it with a plus sign ("English (America)+Alex"); the first list holds each voice
// once, with its count when it has variants ("English (America), 102 voices"), the second the chosen
// one's variants.
inline constexpr std::string_view VoiceCaption = "Voice";
inline constexpr std::string_view VoiceListLabel = "Voices of the speech server:";
inline constexpr std::string_view VoiceVariantsLabel = "Variants of the voice:";
inline constexpr char VoiceVariantMark = '+';
inline constexpr std::string_view VoiceCountBefore = ", ";
inline constexpr std::string_view VoiceCountAfter = " voices";
inline constexpr std::string_view NoVoices = " The speech server lists no voices. ";
// Where the speech settings are remembered (a section of their own; an empty value is the default).
inline constexpr std::string_view SettingsSpeechSection = "Speech";
inline constexpr std::string_view SettingsRateKey = "Rate";
inline constexpr std::string_view SettingsPitchKey = "Pitch";
inline constexpr std::string_view SettingsVolumeKey = "Volume";
inline constexpr std::string_view SettingsVoiceKey = "Voice";

}  // namespace quorrel::texts
