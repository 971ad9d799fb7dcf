# Tests the emulator cannot run. Asked with KV_EMULATE=1 where the kernel starts no 32-bit code,
# the 32-bit tests run through qemu-i386 (scripts/emulated); scripts/build then configures them with
# KV_EMULATOR_FALLBACK, the 64-bit build, whose test programs run the tests below in a
# "<program>_x86_64" entry instead. Nothing else is left out.
#
# Two 32-bit Wine threads that run at the same time break the emulator itself: the process ends
# with "qemu: uncaught target signal 11", "wine client error" lines or a stack smashing report, or
# stops dead. tests/emulator/TwoThreads.cpp shows it with two threads that only count (pinned to
# one processor too); with one thread it runs clean, as every test below does on the 64-bit build.
# A fault of the program under test would reach the test as a Windows exception, which gtest
# reports. Which test meets it first varies from run to run: these are the ones seen so far.
set(KV_EMULATOR_TWO_THREADS
    classlib_tests:CStringSharing.CopiesComeAndGoOnSeveralThreads
    dccmanager_tests:DCCManagerTest.ReceiveLimitQueuesTheFourthUntilASlotFrees
    dccmanager_tests:DCCManagerTest.TickStartsQueuedItemsWhenTheLimitAllows
    dialogs_tests:MessageBoxes.FolderChooserStartsAtTheStartFolderAndCancelChoosesNothing
    foundation_tests:RunCommandTest.CapturesWhatTheCommandPrints
    irc_tests:RepliesTest.OwnJoinsAndRefusalsEndRetriesAndSafeChannelCreation
    irc_tests:UnitConnectingTest.ACommandDuringTheLookupOrASlowConnectLeavesTheAttemptToRegister
    irc_tests:UnitConnectingTest.AQuitBeforeTheServerHasTheConnectionEndsTheAttemptAtOnce
    irc_tests:UnitServerCloseTest.EveryLineBeforeTheCloseReachesTheChannelAndItsLogFile
    irc_tests:UnitServerTest.RegistersLogsInAndJoinsOnNgircdDirectlyOverTlsAndThroughSocks5WithAndWithoutTls
    irc_tests:UnitTickTest.AUnitShutDownWhileWaitingToConnectNeverConnects
    macro_tests:MacroProgramLine.BatchFilesGetValuesAsOneArgumentAndRunNothingElse
    mainframe_tests:DCCWindow.ASendStartsOnlyThroughALoggedInServer
    mainframe_tests:DCCWindow.EscapeMenuAndCloseBoxHideTheWindowWhichComesBackRefilledWithItsWidths
    mainframe_tests:HistoryWindowTest.ComesBackWithTheMainWindowOnlyWhenNotClosedMeanwhile
    mainframe_tests:HistoryWindowTest.KeywordAndUrlLinesReachTheirWindowsAndTheMenuShowsThem
    mainframe_tests:PasteCommands.ConfirmedPasteForATalkClosedMeanwhileGoesNowhere
    mainframe_tests:PasteCommands.ConfirmedPasteSendsEachLineAndCancelSendsNothing
    mainframe_tests:PopupMenus.TreeShowsTheMenuOfTheNodeUnderThePointer
    mainframe_tests:PromptCommands.EachPromptSendsTheTypedLineAndCancelSendsNothing
    mainframe_tests:PromptCommands.TopicLeftAsItOpenedDoesNotUndoATopicSetMeanwhile
    mainframe_tests:ReceivedText.InvitationsAndChatOffersTakeTheKeysOnlyWhenSetToComeForward
    mainframe_tests:ReceivedText.InvitationsJoinOneChannelByEachWay
    mainframe_tests:ServerDialogCommands.AddServerThroughTheDialogMakesAServerThatLogsIn
    mainframe_tests:ServerWindowsAway.InvitationsAndChatOffersStayWhileTheMainWindowIsAway
    mainframe_tests:UserGroupDialogTest.CancelLeavesThePreferencesAlone
    mainframe_tests:UserGroupDialogTest.RenamingAndMasksSurviveGroupChangesAndOkStoresThem
    mainframe_tests:UserPopupCommands.AnItemChosenFromTheLogMenuSendsItsLine
    net_tests:TlsTest.DataSentBeforeTheHandshakeEndsGoesOutAfterIt
    net_tests:TlsTest.LinesGoThroughOpensslServersAtTheNewestVersionBothKnow
    prefs_tests:LogTextLiveTest.FontColoursAndSpacingReachTheOpenChannelAtOnce
    prefs_tests:PreferenceChoosersTest.FolderButtonsPutTheChosenFolderInTheFieldAndEscapeKeepsIt
    prefs_tests:PreferenceChoosersTest.UrlApplicationButtonTakesTheChosenProgramAndEscapeKeepsTheTypedOne
    prefs_tests:PreferencesFrameTest.TheProgramClosingUnderAPagesChooserTakesTheChooserWithTheWindow
    prefs_tests:PreferencesFrameTest.TrayIconTurnedOffWhileTheWindowHidesInTheTrayBringsTheWindowBack
    prefs_tests:PreferencesServerTest.OkReachesTheOpenChannelAtOnce
    program_tests:ProgramExitTest.AHandlerThatCatchesItsTimeOutLetsTheProgramAnswerAndCloseWithAltF4
    script_tests:UnitScriptTest.AConnectFromOnDisconnectReconnectsUnlessTheProgramIsClosing
    script_tests:UnitScriptTest.ScriptsHearTheLogInAndActOnTheServer
    world_tests:WhoWindowTest.SaveWritesTheRowsInListOrderThroughTheFileDialog
    world_tests:WhoisWindowTest.TheWorldsFileChooserNamesTheNickAndGivesTheTypedPath
    world_tests:WorldServersTest.TwoServersThroughTheMainWindow)

# The test programs' names and the tests each leaves to the 64-bit build, under the emulator only.
function(kv_emulator_faults program out)
  set(faults "")
  if(KV_EMULATOR_FALLBACK)
    foreach(item ${KV_EMULATOR_TWO_THREADS})
      if(item MATCHES "^${program}:(.*)$")
        list(APPEND faults ${CMAKE_MATCH_1})
      endif()
    endforeach()
  endif()
  set(${out} ${faults} PARENT_SCOPE)
endfunction()
