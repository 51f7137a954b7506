// Resource ids of the parts search dialogs.
#pragma once

#define IDD_SEARCH_PROGRESS 101
#define IDD_SEARCH_WORD 102

#define IDC_SEARCH_PROGRESS 1500
#define IDC_SEARCH_STATUS 1501
#define IDC_SEARCH_WORDS 1502
