// The texts of the wizard's string table. fitcheck.rc builds the string
// table from these, and the tests compare against them.
#pragma once

#define TEXT_PAGE_TITLE "%s\r動作チェックウィザード"
#define TEXT_TITLE_ENVIRONMENT "動作環境の確認"
#define TEXT_TITLE_TEST "3Dグラフィックスのテスト"
#define TEXT_TITLE_END "動作チェック終了"
#define TEXT_START_TEXT "お使いのコンピュータで、%sの動作環境をチェックします。"
#define TEXT_ENVIRONMENT_OK "OS、メモリ、画面解像度はOKです。"
#define TEXT_CLICK_NEXT "[次へ]をクリックしてください。"
#define TEXT_NEXT_TO_GRAPHICS "[次へ]をクリックして、グラフィックスのチェックに進んでください。"
#define TEXT_OS_NOT_SUPPORTED \
  "お使いのWindows OSには対応していません。\r対応OS:Windows 7/Vista/XP\r※XPは、ServicePack2以上"
#define TEXT_MEMORY_LOW                                                                     \
  "メモリが足りません。\r必要メモリ：Windows 7/Vistaは1GB以上、Windows XPは512MB以上\rこれより" \
  "少ない場合、操作に支障をきたす場合があります。メモリ増設をお勧めします。"
#define TEXT_SCREEN_SMALL                                                                       \
  "画面解像度は1024x576以上でお使いください。\rこれより小さい場合、操作画面が全部表示されないため、" \
  "操作に多少の支障をきたす場合があります。"
#define TEXT_NO_DIRECTX \
  "起動に必要な「DirectX」が、正しくインストールされていません。\rDirectXのインストールを行ってください。"
#define TEXT_DIRECTX_SITE "\r下記のMicrosoftのサイトから、ページの案内に従ってインストールを行ってください。"
#define TEXT_OS_LABEL "OS: "
#define TEXT_MEMORY_LABEL "搭載メモリ: "
#define TEXT_SCREEN_LABEL "画面解像度: "
#define TEXT_CONFIRM_CANCEL "動作チェックを中止しますか？"
#define TEXT_WIZARD_CAPTION "動作チェックウィザード"
#define TEXT_FINISH "終了"
#define TEXT_CANCEL "中止"
#define TEXT_TEST_COUNTER "つめの設定で、3Dの表示をテストします。"
#define TEXT_DIRECTX_DISC \
  "または、セットアップディスク1をCDドライブに挿入してから、[DirectXをインストール]をクリックしてください。"
#define TEXT_TEST_HINT "[次へ]ボタンをクリックすると、\r別ウインドウにサンプルと3Dパースを\r表示します。"
#define TEXT_3D_FAILED "3Dパースの表示ができませんでした。"
#define TEXT_DRIVER_PROBLEM                                                                   \
  "ご使用のビデオカード(グラフィックボード)のドライバに問題があることが考えられます。ドライバを最新の" \
  "ものにしてお試しください。"
#define TEXT_DRIVER_SOURCE                                                                         \
  "ドライバは、ご使用のコンピュータメーカーやビデオカード（グラフィックボード）のメーカーから入手できます。" \
  "各メーカーのサイトからダウンロードしてください。詳しくは各メーカーにお問合せください。"
#define TEXT_DONE "正常終了しました。"
#define TEXT_RESULT_HEADING "正常動作したグラフィックスドライバの設定:"
#define TEXT_CHECK_OVER "これで動作チェックは終了です。"
#define TEXT_3D_RETRY "3Dパースの表示ができませんでした。\r別の設定でテストします。"
#define TEXT_3D_QUESTION "左側がサンプルで、右側が3Dパースです。\r3Dパースは、サンプルのように表示されましたか？"
#define TEXT_OTHER_SETTINGS "別の設定でテストします。"
#define TEXT_DIRECTX_URL "https://www.microsoft.com/ja-jp/download/details.aspx?id=35"
#define TEXT_FILES_MISSING "必要なファイルが見つかりません。再インストールしてください"
#define TEXT_WIZARD_ABORT "動作チェックウィザードを中止します"
#define TEXT_NEXT_TO_SCREEN "[次へ]をクリックして、ディスプレイ解像度のチェックに進んでください。"
#define TEXT_ENVIRONMENT_OK_MEMORY "OS、画面解像度はOKです。\rメモリは増設をお勧めします。"
#define TEXT_DXSETUP_FAILED                                                                        \
  "DirectXのインストーラーが起動できませんでした。\rこのウィザードを終了してから、セットアップディスク1の" \
  "\r[DirectX]フォルダのDXSETUP.exeを起動して、インストールしてください。"
#define TEXT_DXSETUP_MISSING                                                              \
  "DirectXのインストーラが見つかりません。\rCDドライブにセットアップディスク1が挿入されていることを" \
  "確認してから、\r再度[DirectXをインストール]をクリックしてください。"
