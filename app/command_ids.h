#pragma once

#include "analysis_period.h"

// Resource, command and string identifiers of the program. Commands are routed by
// these numbers; each command's string in the string table has the same number.

// Resources
constexpr int IDR_MAINFRAME = 128; // menu, toolbar, accelerators, icon and caption

// Strings
constexpr int IDS_SOCKETS_INIT_FAILED = 104;
constexpr int AFX_IDS_APP_TITLE = 57344;
constexpr int AFX_IDS_IDLEMESSAGE = 57345;
constexpr int AFX_IDS_HELPMODEMESSAGE = 57346;

// Commands
constexpr int ID_FILE_NEWFOLDER = 32771;
constexpr int ID_FILE_GITHISTORY = 32860;
constexpr int ID_FILE_OPENTIMELIST = 32861;
constexpr int ID_FILE_SAVETIMELIST = 32862;
constexpr int ID_VIEW_DAY = kViews[VIEW_DAY].command;
constexpr int ID_VIEW_WEEK = kViews[VIEW_WEEK].command;
constexpr int ID_VIEW_MONTH = kViews[VIEW_MONTH].command;
constexpr int ID_VIEW_YEAR = kViews[VIEW_YEAR].command;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP_FINDER = 57667;
constexpr int ID_CONTEXT_HELP = 57669;
constexpr int ID_HELP = 57670;
constexpr int ID_VIEW_STATUS_BAR = 59393;
// Commands added beside the described ones
constexpr int ID_VIEW_COUNT_FILES = kCountRules[0].command;
constexpr int ID_VIEW_COUNT_MINUTES = kCountRules[1].command;
constexpr int ID_FILE_LEAVEOUT = 32852;
constexpr int ID_FILE_ANALYZEAGAIN = 32870;
constexpr int ID_FILE_SAVEPICTURE = 32871;
constexpr int ID_VIEW_SHOWFILES = 32880;
constexpr int ID_VIEW_BURSTS = 32881;
constexpr int ID_VIEW_DATES = 32890;
constexpr int ID_VIEW_ALLDATES = 32891;
constexpr int ID_VIEW_COMPARE = 32892;
constexpr int ID_VIEW_KEEPRANGE = 32893;
constexpr int ID_VIEW_DATERANGE = 32894;

// Status-bar indicator panes
constexpr int ID_INDICATOR_CAPS = 59137;
constexpr int ID_INDICATOR_NUM = 59138;
constexpr int ID_INDICATOR_SCRL = 59139;
