#pragma once

namespace kq {

// The ids of the texts of the language files, grouped by the window that shows them, each
// with (the start of) its English text: TextId::StatusReady is "%0130". Code reads a text as
// languageText(TextId) and gives a control a caption that LocalizeControls looks up as
// resourceId(TextId); the model's reasons (ReasonText) carry theirs, which is why the ids live
// in the lowest library. Every id named here must be in every shipped language file.
enum class TextId {
    // Every window
    OperationFailed = 20,   // Operation failed
    AddressNotOpened = 486, // This address could not be opened in a web browser: %1

    // Main window: tool bar
    ToolNew = 1,          // New
    ToolOpen = 2,         // Open
    ToolSave = 3,         // Save
    ToolTest = 4,         // Test
    ToolBuild = 5,        // Build
    HintNew = 131,        // Create a new project
    HintOpen = 132,       // Open a project, a legacy project or a built program
    HintSave = 133,       // Save the project
    HintTest = 134,       // Run the project for testing
    HintBuild = 135,      // Build a stand-alone program from the project
    HintManagement = 136, // Languages, themes and plug-ins
    HintHelp = 137,       // Help and information about the program

    // Main window: menus of the tool buttons
    MenuSeparator = 150,     // -
    MenuOpenFile = 151,      // Open...
    MenuSave = 152,          // Save
    MenuSaveAs = 153,        // Save As...
    MenuHelp = 154,          // Help
    MenuWebsite = 155,       // Product website
    MenuAbout = 156,         // About
    MenuBuildProgram = 400,  // Build Program...
    MenuBuildPortable = 401, // Build Portable...
    MenuBuildWebPage = 405,  // Build Web Page...
    MenuBuildWindows = 740,  // Build for Windows...

    // Main window: status bar and the hints of its areas
    StatusReady = 130,         // Ready
    HintDialogList = 138,      // Dialog list: select a dialog to edit it
    HintProperties = 139,      // Properties of the selected dialog
    HintProjectStyle = 140,    // Window look of the built program
    HintScriptComposer = 141,  // Compose a script and insert it into button 1 or 2
    RecentProjectGone = 410,   // %1 no longer exists and was taken off the recent projects.
    GoToScriptsFollowed = 471, // Go-to scripts that follow their steps: %1; scripts left where a…
    CharactersReplaced = 608,  // %1 character cannot be stored in a project and became ?|%1…

    // Main window: dialog list
    InsertStep = 436,    // Insert a new step after the selected one
    DeleteStep = 437,    // Delete the selected step
    MoveStepUp = 438,    // Move the selected step up
    MoveStepDown = 439,  // Move the selected step down
    DialogList = 443,    // Dialog list
    Undo = 300,          // Undo
    Redo = 301,          // Redo
    EditCut = 784,       // Cut
    EditCopy = 785,      // Copy
    EditPaste = 786,     // Paste after the current step
    EditDuplicate = 787, // Duplicate
    EditSelectAll = 788, // Select all steps
    EditInsert = 789,    // New step
    EditDelete = 790,    // Delete
    EditMoveUp = 791,    // Move up
    EditMoveDown = 792,  // Move down
    EditMenu = 793,      // Edit
    EditMenuHint = 794,  // Copy, paste, duplicate, delete and move the selected steps
    PasteTooMany = 795,  // %1 step does not fit: the project has room for %2 more (at most…
    EditFind = 837,      // Find...
    EditReplace = 838,   // Replace...

    // Main window: flow map
    FlowNewStepAtEnd = 796, // New step at the end
    FlowPasteAtEnd = 797,   // Paste at the end
    FlowLinkHandle = 798,   // Drag onto a step to go there, onto the exit box to end…

    // Command line: the help
    HelpDescription = 839, // %1: composes small dialog programs. Without options it starts the…
    HelpFile = 840,        // A project (.dlg2), an old project (.dlg) or a built program.
    HelpNoSplash = 841,    // Start with the main window, without the splash picture.
    HelpCheck = 842,       // Check the project FILE without a window and print what the check…
    HelpBuild = 843,       // Build the project FILE into a program, without a window.
    HelpOutput = 844,      // The program a build writes (with --portable: its folder; with…
    HelpQuiet = 845,       // Print nothing on standard output; failures still go to standard…
    HelpForce = 846,       // Build even a project in which the check finds errors.
    HelpPortable = 847,    // Build a folder that runs on a Linux desktop without Qt: the…
    HelpArchive = 848,     // Build portable and pack the folder into PROGRAM.tar.gz beside it.
    HelpWeb = 849,         // Build one self-contained web page (.html) that plays the project…
    HelpWindows = 850,     // Build one Windows program (.exe) that plays the project and needs…

    // Main window: find bar
    FindLabel = 800,           // Find:
    FindMatchCase = 801,       // Match case
    FindWholeWords = 802,      // Whole words
    FindInCaptions = 803,      // Captions
    FindInTexts = 804,         // Message texts
    FindInButtons = 805,       // Button captions
    FindInScripts = 806,       // Scripts
    ReplaceLabel = 807,        // Replace with:
    ReplaceOne = 808,          // Replace
    ReplaceAll = 809,          // Replace all
    FindNext = 810,            // Next
    FindPrevious = 811,        // Previous
    FindClose = 812,           // Close
    FindMatchCount = 813,      // %1 of %2
    FindNoMatches = 814,       // No matches
    ReplacedCount = 815,       // Replaced %1 match.|Replaced %1 matches.
    ReplaceSkipped = 816,      // %1 match skipped: its field would grow past its…
    ReplaceBrokeScripts = 817, // %1 script cannot run now: see the problems.|%1…
    UndoReplace = 818,         // replace
    FindMatchesList = 819,     // Matches

    // Main window: properties panel
    LabelType = 101,       // &Type:
    LabelTime = 102,       // Ti&me (s):
    LabelCaption = 103,    // &Caption:
    LabelText = 104,       // Te&xt:
    LabelButton1 = 105,    // Button &1:
    LabelButton2 = 106,    // Button &2:
    LabelScript1 = 107,    // &Script 1:
    LabelScript2 = 108,    // Sc&ript 2:
    LabelIcon = 109,       // &Icon:
    TypeMessage = 120,     // Message
    TypeProgress = 121,    // Progress
    TypePause = 122,       // Pause
    IconNone = 430,        // No icon
    IconError = 431,       // Error
    IconWarning = 432,     // Warning
    IconInformation = 433, // Information
    IconQuestion = 434,    // Question
    IconPackage = 435,     // Package

    // Main window: project style box
    ProjectStyle = 111, // Project style
    StyleSystem = 123,  // System
    StyleSkinned = 124, // Skinned

    // Main window: script composer
    ButtonScript = 110,       // Button script
    CommandNone = 320,        // No action
    CommandGo = 321,          // Go
    CommandExit = 322,        // Exit
    DirectionNext = 323,      // Next
    DirectionBack = 324,      // Back
    DirectionTo = 325,        // To
    ComposerCommand = 440,    // Command
    ComposerDirection = 441,  // Direction
    ComposerStepNumber = 442, // Step number
    InsertIntoScript1 = 484,  // Insert into script 1
    InsertIntoScript2 = 485,  // Insert into script 2

    // Main window: flow and problems pane
    FlowTab = 370,             // Flow
    ProblemsTab = 371,         // Problems
    ExportPictureButton = 372, // Export picture...
    ExportPictureTitle = 373,  // Export Picture
    PngPictures = 374,         // PNG pictures
    SvgPictures = 375,         // SVG pictures
    PictureNotWritten = 377,   // The picture could not be written.
    FitFlow = 480,             // Fit
    FitFlowHint = 481,         // Show the whole map
    FlowViewHint = 482,    // The flow of the project. Ctrl+wheel or + and - zoom; Ctrl+0 fits…
    ExportButton = 610,    // Export
    SeverityError = 365,   // Error
    SeverityWarning = 366, // Warning
    ColumnStep = 367,      // Step
    ColumnProblem = 368,   // Problem
    NoProblems = 611,      // No problems found

    // Main window: project commands
    SampleNotFound = 33,           // The sample file was not found.
    SaveChangesQuestion = 128,     // The project has changed. Save the changes?
    OpenProjectTitle = 160,        // Open Project
    SaveProjectAsTitle = 161,      // Save Project As
    ProjectFiles = 163,            // Kestrane Quorvex projects
    LegacyProjectFiles = 164,      // Legacy projects
    BuiltProgramFiles = 165,       // Built programs
    RestoreRecoveryQuestion = 309, // The editor was closed without saving the project. Restore…
    NoProjectStyle = 310,          // The project header holds no project style (0 or 1).
    RecoveryCopyUnreadable = 600,  // The recovery copy %1 cannot be read completely. It was set…
    SaveRestoredToQuestion = 601,  // This project was restored from a recovery copy and is not…
    SaveRestoredQuestion = 602,    // This project was restored from a recovery copy and is not…

    // Main window: program commands (builds and the test run)
    BuildProgramTitle = 162,          // Build Program
    ProgramFiles = 166,               // Programs
    RunDespiteErrorsQuestion = 376,   // The project has %1 error. Run it anyway?|The project has…
    BuildPortableTitle = 402,         // Build Portable Program (Folder)
    PortableBuilt = 403,              // Portable program built: %1 (%2 library and plug-in files…
    ProgramBuilt = 404,               // Program built: %1
    BuildWebPageTitle = 406,          // Build Web Page
    WebPageFiles = 407,               // Web pages
    WebPageBuilt = 408,               // Web page built: %1 (%2 KB)
    BuildDespiteErrorsQuestion = 603, // The project has %1 error. Build anyway?|The project has…
    BuildButton = 609,                // Build
    TestRunFailed = 312,              // The test run stopped with an error:
    RunnerNotStarted = 716,           // %1: the runner cannot be started
    TestRunStillGoing = 313,          // A test run is still going on. Close its window before…
    StopTestRunQuestion = 606,        // A test run is still going on. Stop the test run? ("No"…
    TestRunStopped = 607,             // The test run was stopped.
    OpenInBrowser = 721,              // Open in the browser
    BuildWindowsTitle = 741,          // Build for Windows
    WindowsProgramFiles = 742,        // Windows programs
    WindowsProgramBuilt = 743,        // Windows program built: %1 (%2 KB)

    // Project document: new steps and undo entries
    NewMessageText = 125,   // Message text
    BarFullButton = 126,    // <Bar full>
    PauseOverButton = 127,  // <Pause over>
    UndoTyping = 302,       // typing
    UndoTypeChange = 303,   // step type change
    UndoIconChoice = 304,   // icon choice
    UndoProjectStyle = 305, // project style
    UndoNewStep = 306,      // new step
    UndoStepDeletion = 307, // step deletion
    UndoStepMove = 308,     // step move
    UndoPluginResult = 620, // plug-in result
    UndoPaste = 780,        // paste
    UndoCut = 781,          // cut
    UndoDuplicate = 782,    // duplicate
    UndoDrop = 783,         // drag and drop
    UndoLink = 799,         // link
    Untitled = 720,         // Untitled

    // Flow map
    FlowExit = 360,            // Exit
    FlowPastLastStep = 361,    // Past the last step
    FlowNoWindow = 362,        // no window
    FlowBeforeFirstStep = 363, // Before step 0

    // Findings of the check
    FieldButton1 = 340,           // Button 1
    FieldButton2 = 341,           // Button 2
    FieldBarFull = 342,           // Bar-full script
    FieldPauseEnd = 343,          // Pause-end script
    FindingProject = 344,         // Project
    FindingScriptCannotRun = 345, // %1: the script "%2" cannot be run; the program stops with…
    FindingEndRunsNoAction = 346, // %1 is "Нет": it runs by itself and the program stops with…
    FindingNoWayOut = 347,        // Every button of this message does nothing ("Нет"): only…
    FindingNoProjectStyle = 348,  // The project header holds no project style (0 or 1) but…
    FindingSilentLoop = 349,      // Steps %1 lead round to one another without showing a…
    FindingSilentSelfLoop = 350,  // This step leads back to itself without showing a window…
    FindingTargetOutside = 351,   // %1 goes to step %2, but the last step is %3: the run ends…
    FindingUnreachable = 352,     // No path from step 0 leads to this step.
    FindingNoEnd = 353,         // The program cannot end: no reachable step has "Выход" or…
    FindingBackFromFirst = 354, // %1: "Идти Назад" on step 0 ends the run.
    FindingButtonDoesNothing = 355, // %1 "%2" does nothing ("Нет"): pressing it leaves the window…
    FindingUnknownType = 356,       // Step type %1 is not a message, progress or pause: the…
    FindingUnknownIcon = 357,       // Icon %1 does not exist (0 to 5): no icon is shown.
    FindingTargetDeleted = 470,   // %1 led to a step that was deleted and now leads to the step…
    FindingEndlessLoop = 472,     // Steps %1 loop without a window that the user can answer…
    FindingEndlessSelfLoop = 473, // This step leads back to itself without a window that the…
    FindingWideMessage = 605,     // The longest line of this message is about %1 pixels wide…

    // Command line
    FileMissing = 474,       // no such file
    FileIsFolder = 475,      // is a folder, not a project file
    FileIsSpecial = 476,     // is a device or another special file, not a project file
    FileEmpty = 477,         // the file is empty
    FileNotProject = 478,    // neither a project (.dlg2, .dlg) nor a built program with its data…
    FileNotReadable = 479,   // the file cannot be read: permission denied
    NotBuiltForErrors = 604, // not built: the check finds %1 error (tavlen --check lists it…
    OptionGoesWith = 768,    // %1 goes with %2
    NoSplashWithoutWindow = 769, // --no-splash starts the editor's window; --check and --build…
    OptionsExclude = 770,        // %1 and %2 cannot be given together; give one of them
    OneFileTooMany = 771,        // %1 takes the project as its value; %2 is one file too many
    OptionNeeds = 772,           // %1 needs %2
    OneFileForTheEditor = 773,   // the editor opens one file; %1 is one too many
    SeeHelp = 774,               // (see tavlen --help)
    NeedsDisplay = 775,          // the editor's window needs a display (DISPLAY or…
    BundledFile = 776,           // bundled %1
    LeftToSystem = 777,          // left to the system: %1
    ArchiveBuilt = 778,          // %1: %2 MB

    // Web page
    WebProgramEnded = 490,    // The program has ended.
    WebProgramStopped = 491,  // The program stopped: %1
    WebPlayAgain = 492,       // Play again
    WebClose = 493,           // Close
    WebNeedsJavaScript = 494, // This page plays with JavaScript turned on.

    // Windows program, and why a Windows build refuses
    WindowsProgramStopped = 744,    // The program stopped: %1
    WindowsPlayerMissing = 745,     // %1 is missing: this installation of the editor cannot…
    NotAWindowsProgramReason = 746, // %1 exists and is not a Windows program an earlier build…

    // Management window
    ManagementClose = 10,     // Close
    ManagementHelp = 11,      // Help
    TabLanguages = 201,       // Languages
    TabThemes = 202,          // Themes
    TabPlugins = 203,         // Plug-ins
    TabDownloads = 204,       // Downloads
    TabUpdates = 205,         // Updates
    DownloadsText = 216,      // New languages, themes and plug-ins can be downloaded from the…
    OpenWebsite = 217,        // Open website
    ShowStartupPicture = 483, // Show the start-up picture
    DeleteSelectedQuestion = 234, // Delete the selected item?
    ShippedFileKept = 450, // This file came with the program, which is installed for every…

    // Management window: languages page
    LanguageVersionBefore = 22, // Unsupported language file version (
    LanguageVersionAfter = 23,  // ). Delete this file?
    LanguageIdLabel = 210,      // Language identifier:
    LanguageRussian = 222,      // Russian (0)
    LanguageEnglish = 223,      // English (1)
    DeleteLanguage = 226,       // Delete language
    LanguageNameLabel = 230,    // Language:
    LanguageAuthorLabel = 231,  // Author:
    NewLanguage = 760,          // New language
    SaveLanguage = 761,         // Save language
    AboutLanguage = 762,        // About the language
    LanguageTextRow = 763,      // Text row %1

    // Management window: themes page
    ThemeNotSaved = 24,         // The theme could not be saved.
    ShippedThemeReadOnly = 25,  // Program themes cannot be changed. Create a theme of your own…
    ThemeDamagedQuestion = 26,  // The theme file is damaged. Delete it?
    ThemeVersionBefore = 27,    // Unsupported theme version (
    ThemeVersionAfter = 28,     // ). Delete this theme?
    ThemeFileExists = 32,       // A theme with this file name already exists. Enter another name.
    ColourLabel = 211,          // Colour:
    PreviewLabel = 212,         // Preview:
    PreviewActiveLabel = 213,   // Active label
    PreviewInactiveLabel = 214, // Inactive label
    PreviewActiveBox = 224,     // Active box
    PreviewInactiveBox = 225,   // Inactive box
    NewTheme = 227,             // New theme
    DeleteTheme = 228,          // Delete theme
    SaveTheme = 229,            // Save theme
    NewThemeName = 235,         // Enter a name for the new theme:
    NewThemeFileName = 236,     // Enter a file name for the new theme (without extension):
    ColourActiveBox = 237,      // Active box background
    ColourInactiveBox = 238,    // Inactive box background
    ColourBoxText = 239,        // Box text
    ColourActiveLabel = 240,    // Active label
    ColourInactiveLabel = 241,  // Inactive label
    ColourActiveButton = 242,   // Active button
    ColourInactiveButton = 243, // Inactive button
    ColourSelection = 244,      // Selection
    ColourWindow = 245,         // Window background
    ColourPanel = 246,          // Panel background
    ShippedThemeFixed = 660,    // Themes that come with the program cannot be deleted or changed…

    // Management window: plug-ins page
    PluginProgramMissing = 29,    // The plug-in program file is missing.
    PluginVersionBefore = 30,     // Unsupported plug-in version (
    PluginVersionAfter = 31,      // ). Delete this plug-in?
    InstalledPluginsLabel = 215,  // Installed plug-ins:
    RunPlugin = 220,              // Run
    DeletePlugin = 221,           // Delete
    PluginAuthorLabel = 232,      // Author:
    PluginDescriptionLabel = 233, // Description:
    PluginStillRunning = 311,     // An earlier plug-in is still running. Wait until it ends or…
    AboutPlugin = 764,            // About the plug-in

    // Plug-in run window
    PluginRunning = 40, // Running plug-in:
    PluginRunWait = 41, // Wait until it has finished. Press Esc to cancel.

    // Project files: why one cannot be read or written
    TooManyDialogs = 680,       // The file holds %1 dialogs; a project takes at most %2.
    FileCutShort = 681,         // The file is cut short: it holds %1 bytes, less than the %2 of…
    TooManyLines = 682,         // %1, line %2: a project holds at most %3 dialogs.
    TooFewFields = 683,         // %1, line %2: a dialog needs four fields separated by "; ".
    NoDialog = 684,             // %1: the file holds no dialog.
    NoSuchFile = 685,           // %1: no such file
    UnknownFileKind = 686,      // %1: neither a project (.dlg2, .dlg) nor a built program with…
    NotWrittenCompletely = 687, // %1 could not be written completely.

    // Run faults: why a project cannot run (the runner prints them in English)
    FaultNoProjectStyle = 688,  // the project header holds no project style
    FaultScriptCannotRun = 689, // step %1: the script "%2" cannot be run
    FaultCannotShow = 690,      // step %1 cannot be shown in project style %2
    FaultSilentLoop = 691,      // step %1: the scripts lead back to it without showing anything…
    FaultPauseLoop = 692,       // step %1: the scripts lead back to it through pauses, without a…
    FaultDataFileNotOpened = 765, // the data file %1 cannot be opened
    FaultNoProjectHeader = 766,   // %1 holds no project header
    FaultStepNotRead = 767,       // step %1 cannot be read

    // Builds: why a target is refused
    TargetInEditorFolder = 693,    // %1 is part of the editor's program folder; choose another name
    TargetHoldsEditorFolder = 694, // %1 holds the editor's program folder; choose another name
    TargetIsRunner = 695,          // %1 is or holds the runner a build copies; choose another name
    TargetHoldsProject = 696,      // %1 holds the project being built; choose another name
    TargetIsProject = 697,         // %1 is the project being built; choose another name
    TargetHoldsOtherFiles = 698,   // %1 holds other files; a portable program needs a folder of…
    TargetNotAProgram = 699,       // %1 exists and is not a program an earlier build wrote…
    TargetNotADataFile = 700,      // %1 exists and is not a data file an earlier build wrote…
    TargetNotAFolder = 701,        // %1 exists and is not a portable program's folder an earlier…
    TargetNotAnArchive = 702, // %1 exists and is not a portable program's archive an earlier…
    TargetNotAPage = 703,     // %1 exists and is not a web page an earlier build wrote…

    // Builds: why writing a program failed
    BuildNoPermissions = 704,    // %1: cannot set its permissions
    BuildNoFolder = 705,         // %1: cannot make the folder
    BuildOlderFilesStay = 706,   // %1: cannot remove the older files
    BuildNoRunPath = 707,        // %1 was built without the run path $ORIGIN/lib
    BuildNoFolderOfItsOwn = 708, // %1: a portable program needs a folder of its own
    BuildNotPacked = 709,        // tar cannot pack %1: %2
    BuildNotWritten = 710,       // %1: cannot be written
    LibrariesNotListed = 711,    // ldd cannot list the libraries of %1: %2
    LibraryNotInstalled = 712,   // %1 needs %2, which is not installed
    NotElf = 713,                // %1 is not an ELF file
    NotElf64 = 714,              // %1 is not a 64-bit little-endian ELF file
    NoSectionTable = 715,        // %1 has no readable section table

    // Preview pane of the main window
    PreviewTitle = 820,             // Preview
    PreviewPlayHere = 821,          // Play here
    PreviewPlayFromStart = 822,     // Play from the start
    PreviewStop = 823,              // Stop
    PreviewScale = 824,             // %1 %
    PreviewTooLarge = 825,          // The window is %1 x %2 pixels, larger than the screen…
    PreviewPause = 826,             // Invisible pause, %1 s, then -> %2
    PreviewToStep = 827,            // step %1
    PreviewNowhere = 828,           // nowhere (see the problems)
    PreviewShowsNothing = 829,      // This step shows nothing: the run goes on at once.
    PreviewMoment = 830,            // The bar at %1 s of %2 s
    PreviewHint = 831,              // The selected step as the program will show it
    PreviewPlayHereHint = 832,      // Play the project here from the selected step…
    PreviewPlayFromStartHint = 833, // Play the project here from step 0
    PreviewStopHint = 834,          // Stop playing and go back to the step
    PreviewMomentName = 835,        // Moment of the bar
    PreviewScaleName = 836,         // Scale of the window
};

} // namespace kq
