// Resource ids of Fitview.exe.
#pragma once

#define IDD_FITVIEW 102
#define IDI_FITVIEW 128
#define IDB_LABEL_SAMPLE 129
#define IDB_LABEL_VIEW 130
#define IDD_SPLASH 133

#define IDC_SAMPLE_PICTURE 1003
#define IDC_VIEW 1004
#define IDC_SAMPLE_LABEL 1007
#define IDC_VIEW_LABEL 1008
#define IDC_DIVIDER 1009
#define IDC_SPLASH_TEXT 1010
