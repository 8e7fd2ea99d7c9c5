<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>CopiesDialog</name>
    <message>
        <source>批量复制从站</source>
        <translation>Batch Copy of a Slave</translation>
    </message>
    <message>
        <source>复制数量：</source>
        <translation>Number of copies:</translation>
    </message>
    <message>
        <source>地址间隔：</source>
        <translation>Address step:</translation>
    </message>
    <message>
        <source>递增：</source>
        <translation>Step applies to:</translation>
    </message>
    <message>
        <source>批量复制...</source>
        <translation>Batch Copy...</translation>
    </message>
</context>
<context>
    <name>DataFiles</name>
    <message>
        <source>当前目录不可写，文件保存在 %1</source>
        <translation>The current folder cannot be written; files are saved in %1</translation>
    </message>
</context>
<context>
    <name>MainWindowParts</name>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>工具栏(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>是否保存对 %1 的更改？</source>
        <translation>Save the changes to %1?</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>无法打开%1，没有可用的程序。
位置：%2</source>
        <translation>Cannot open %1: no program is available for it.
Location: %2</translation>
    </message>
</context>
<context>
    <name>RefusalList</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>导入工程表格</source>
        <translation>Import Project Workbook</translation>
    </message>
    <message>
        <source>工程表格中有%1行未能导入，工程没有改变：</source>
        <translation>Rows of the project workbook that could not be imported: %1. The project is unchanged.</translation>
    </message>
    <message>
        <source>导出工程表格</source>
        <translation>Export Project Workbook</translation>
    </message>
    <message>
        <source>信息</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>已导出到 %1</source>
        <translation>Exported to %1</translation>
    </message>
    <message>
        <source>Excel 工作簿 (*.xlsx);;所有文件 (*)</source>
        <translation>Excel workbooks (*.xlsx);;All files (*)</translation>
    </message>
</context>
<context>
    <name>TableList</name>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>WireLogBox</name>
    <message>
        <source>通信记录</source>
        <translation>Communication Log</translation>
    </message>
</context>
<context>
    <name>vantor::gui::FormDialog</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>vantor::gui::ProjectWindow</name>
    <message>
        <source>新建(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>打开(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>另存为(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>最近的文件</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>撤销(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>重做(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
</context>
<context>
    <name>vantor::gui::ResultBox</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
