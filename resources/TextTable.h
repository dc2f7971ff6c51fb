#pragma once
// The bilingual text table: English captions and the four messages the main window
// shows in both languages, addressed by index. Windows-1252 bytes.

#include <array>

namespace resources {

inline constexpr int kTextCount = 71;

// English captions. The main window's eight action buttons and five columns follow one
// another in tool bar and column order.
inline constexpr int kTextActionButtons = 0;
inline constexpr int kTextColumns = 8;
inline constexpr int kTextMenuFile = 13;
inline constexpr int kTextMenuOptions = 14;
inline constexpr int kTextMenuTools = 15;
inline constexpr int kTextMenuHelp = 16;
inline constexpr int kTextItemNew = 17;
inline constexpr int kTextItemOpen = 18;
inline constexpr int kTextItemClose = 19;
inline constexpr int kTextItemExit = 20;
inline constexpr int kTextConfiguration = 21;
inline constexpr int kTextNotepad = 22;
inline constexpr int kTextExplorer = 23;
inline constexpr int kTextCalculator = 24;
inline constexpr int kTextMsDos = 25;
inline constexpr int kTextIndex = 26;
inline constexpr int kTextAbout = 27;
inline constexpr int kTextPageActions = 28;
inline constexpr int kTextPageLevel = 29;
inline constexpr int kTextPageTools = 30;
inline constexpr int kTextFaster = 31;
inline constexpr int kTextSmaller = 32;
// The delete dialog.
inline constexpr int kTextDeleteChoice = 33;
inline constexpr int kTextDeleteAll = 34;
inline constexpr int kTextDeleteSelected = 35;
inline constexpr int kTextDeleteButton = 36;
inline constexpr int kTextCancel = 37;
// The configuration and folders dialogs; the folders dialog has a "Cancel" of its own.
inline constexpr int kTextFoldersPage = 38;
inline constexpr int kTextStartupFolder = 39;
inline constexpr int kTextTemporaryFolder = 40;
inline constexpr int kTextFoldersCancel = 41;
// The extract dialog; its four options follow one another in check box order.
inline constexpr int kTextExtractCaption = 60;
inline constexpr int kTextExtractButton = 61;
inline constexpr int kTextNewFolder = 62;
inline constexpr int kTextOptions = 63;
inline constexpr int kTextExtractOptions = 64;
inline constexpr int kTextExtractChoice = 68;
inline constexpr int kTextExtractAll = 69;
inline constexpr int kTextExtractSelected = 70;

// Pairs of messages: the Spanish text at the even index, the English one after it.
inline constexpr int kTextOperationRefused = 52;
inline constexpr int kTextNoAssociation = 54;
inline constexpr int kTextReady = 56;
inline constexpr int kTextBusy = 58;

extern const std::array<const char*, kTextCount> kTextTable;

} // namespace resources
