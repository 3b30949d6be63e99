<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>TComboColorBox</name>
    <message>
        <source>その他の色...</source>
        <translation>Other colour...</translation>
    </message>
</context>
<context>
    <name>TDropTarget</name>
    <message>
        <source>Drop</source>
        <translation>Drop</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>グループ選択</source>
        <translation>Select Group</translation>
    </message>
    <message>
        <source>新規追加</source>
        <translation>Add New</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>パラメータ編集</source>
        <translation>Edit Parameters</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>新規登録</source>
        <translation>Add Files</translation>
    </message>
    <message>
        <source>設定保存</source>
        <translation>Save Settings</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>メニュー1</source>
        <translation>Menu 1</translation>
    </message>
    <message>
        <source>メニュー2</source>
        <translation>Menu 2</translation>
    </message>
    <message>
        <source>メニュー3</source>
        <translation>Menu 3</translation>
    </message>
    <message>
        <source>メニュー4</source>
        <translation>Menu 4</translation>
    </message>
    <message>
        <source>メニュー5</source>
        <translation>Menu 5</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>スタイル</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>タスクバー表示</source>
        <translation>Taskbar button</translation>
    </message>
    <message>
        <source>再起動後反映されます</source>
        <translation>Takes effect after a restart</translation>
    </message>
    <message>
        <source>反射</source>
        <translation>Reflection</translation>
    </message>
    <message>
        <source>反射強さ</source>
        <translation>Strength</translation>
    </message>
    <message>
        <source>反射長さ</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>オフセット</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>背景</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>グラジエント</source>
        <translation>Gradient</translation>
    </message>
    <message>
        <source>背景色1</source>
        <translation>Background colour 1</translation>
    </message>
    <message>
        <source>背景色2</source>
        <translation>Background colour 2</translation>
    </message>
    <message>
        <source>垂直</source>
        <translation>Vert.</translation>
    </message>
    <message>
        <source>水平</source>
        <translation>Horiz.</translation>
    </message>
    <message>
        <source>斜め</source>
        <translation>Diag.</translation>
    </message>
    <message>
        <source>透明度</source>
        <translation>Opacity</translation>
    </message>
    <message>
        <source>画像表示</source>
        <translation>Show picture</translation>
    </message>
    <message>
        <source>画像選択</source>
        <translation>Choose picture...</translation>
    </message>
    <message>
        <source>Icon</source>
        <translation>Icon</translation>
    </message>
    <message>
        <source>影</source>
        <translation>Shadow</translation>
    </message>
    <message>
        <source>補完しない</source>
        <translation>No smoothing</translation>
    </message>
    <message>
        <source>アイコンサイズ</source>
        <translation>Icon size</translation>
    </message>
    <message>
        <source>アイコン間隔</source>
        <translation>Icon gap</translation>
    </message>
    <message>
        <source>中心からのずれ</source>
        <translation>Off centre</translation>
    </message>
    <message>
        <source>飛出し量</source>
        <translation>Jump</translation>
    </message>
    <message>
        <source>ヒント表示</source>
        <translation>Show hints</translation>
    </message>
    <message>
        <source>配置</source>
        <translation>Placement</translation>
    </message>
    <message>
        <source>垂直表示</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>反射方向</source>
        <translation>Edge</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>順番入れ替え</source>
        <translation>Order</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>確定</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>グループ名</source>
        <translation>Group names</translation>
    </message>
    <message>
        <source>No.1</source>
        <translation>No.1</translation>
    </message>
    <message>
        <source>No.2</source>
        <translation>No.2</translation>
    </message>
    <message>
        <source>No.3</source>
        <translation>No.3</translation>
    </message>
    <message>
        <source>No.4</source>
        <translation>No.4</translation>
    </message>
    <message>
        <source>No.5</source>
        <translation>No.5</translation>
    </message>
    <message>
        <source>大きさ=%1</source>
        <translation>Size=%1</translation>
    </message>
    <message>
        <source>パスに無効な文字が含まれています</source>
        <translation>A path holds characters that are not allowed</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>上</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>下</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>Image (*.bmp *.jpg *.png)</source>
        <translation>Pictures (*.bmp *.jpg *.png)</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>パラメータ編集</source>
        <translation>Edit Parameters</translation>
    </message>
    <message>
        <source>アプリに渡すファイルを指定</source>
        <translation>File for the program</translation>
    </message>
    <message>
        <source>ファイル選択</source>
        <translation>Choose file...</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Hint</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>破棄</source>
        <translation>Discard</translation>
    </message>
</context>
<context>
    <name>TIniFile</name>
    <message>
        <source>%1 に書き込めません: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>TStringList</name>
    <message>
        <source>ファイル %1 を作成できません: %2</source>
        <translation>Cannot create the file %1: %2</translation>
    </message>
</context>
</TS>
