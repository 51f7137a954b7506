// Resource ids of the download progress dialog (Hostkit.dll).
#pragma once

#define IDD_DOWNLOAD 103
#define IDC_DL_PROGRESS 1500
#define IDC_DL_STATUS 1501
#define IDC_DL_AUTOMATIC 1503
#define IDC_DL_START 1504
