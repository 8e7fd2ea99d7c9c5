<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="名称与第%d行重复">
        <source></source>
        <translation>Name already used in line %d</translation>
    </message>
    <message id="与第%d行是同一网关">
        <source></source>
        <translation>Same gateway as line %d</translation>
    </message>
    <message id="第%d行: %s">
        <source></source>
        <translation>Line %d: %s</translation>
    </message>
    <message id="第%d行 %s: %s">
        <source></source>
        <translation>Line %d %s: %s</translation>
    </message>
    <message id="计划表头应为 name,ip,port,project,mport">
        <source></source>
        <translation>The plan header must be name,ip,port,project,mport</translation>
    </message>
    <message id="计划中没有网关">
        <source></source>
        <translation>The plan holds no gateway</translation>
    </message>
    <message id="引号未闭合">
        <source></source>
        <translation>Unclosed quote</translation>
    </message>
    <message id="字段数不对">
        <source></source>
        <translation>Wrong number of fields</translation>
    </message>
    <message id="名称为空">
        <source></source>
        <translation>Name is empty</translation>
    </message>
    <message id="工程文件为空">
        <source></source>
        <translation>No project file given</translation>
    </message>
    <message id="工程文件应为 .vtc 或 .vncfg">
        <source></source>
        <translation>The project file must be .vtc or .vncfg</translation>
    </message>
    <message id="MODBUS TCP端口格式错误">
        <source></source>
        <translation>Invalid MODBUS TCP port</translation>
    </message>
    <message id="工程文件不存在">
        <source></source>
        <translation>Project file not found:</translation>
    </message>
    <message id="工作簿中没有工作表“计划”">
        <source></source>
        <translation>The workbook has no sheet “计划”</translation>
    </message>
    <message id="无法读取计划文件">
        <source></source>
        <translation>Cannot read the plan file</translation>
    </message>
    <message id="%zu个网关: %d个成功, %d个失败, 用时 %s">
        <source></source>
        <translation>%zu gateways: %d succeeded, %d failed, took %s</translation>
    </message>
    <message id="从站状态: %s">
        <source></source>
        <translation>Slave states: %s</translation>
    </message>
    <message id="已停止">
        <source></source>
        <translation>Stopped</translation>
    </message>
    <message id="正在下载">
        <source></source>
        <translation>Downloading</translation>
    </message>
    <message id="等待网关重启">
        <source></source>
        <translation>Waiting for the gateway to restart</translation>
    </message>
    <message id="正在读取设备信息">
        <source></source>
        <translation>Reading device information</translation>
    </message>
    <message id="正在读取从站状态">
        <source></source>
        <translation>Reading slave states</translation>
    </message>
    <message id="等待">
        <source></source>
        <translation>Waiting</translation>
    </message>
    <message id="成功">
        <source></source>
        <translation>Succeeded</translation>
    </message>
    <message id="失败">
        <source></source>
        <translation>Failed</translation>
    </message>
    <message id="%s 第%d行 %s: %s">
        <source></source>
        <translation>%s row %d, %s: %s</translation>
    </message>
    <message id="%s 第%d行: %s">
        <source></source>
        <translation>%s row %d: %s</translation>
    </message>
    <message id="%s请添入一个%d和%d之间的整数">
        <source></source>
        <translation>%s: enter a whole number between %d and %d</translation>
    </message>
    <message id="此功能没有%s">
        <source></source>
        <translation>This function has no %s</translation>
    </message>
    <message id="%s或%s">
        <source></source>
        <translation>%s or %s</translation>
    </message>
    <message id="%s、%s">
        <source></source>
        <translation>%s, %s</translation>
    </message>
    <message id="%s应为%s">
        <source></source>
        <translation>%s must be %s</translation>
    </message>
    <message id="工作簿中没有此工作表">
        <source></source>
        <translation>The workbook has no such sheet</translation>
    </message>
    <message id="缺少此列">
        <source></source>
        <translation>Column missing</translation>
    </message>
    <message id="列名重复">
        <source></source>
        <translation>Column name used twice</translation>
    </message>
    <message id="单元格为日期，请填写数值或文字">
        <source></source>
        <translation>The cell holds a date; enter a number or a text</translation>
    </message>
    <message id="单元格为公式，请填写数值或文字">
        <source></source>
        <translation>The cell holds a formula; enter a number or a text</translation>
    </message>
    <message id="单元格为错误值">
        <source></source>
        <translation>The cell holds an error value</translation>
    </message>
    <message id="请填写“是”或“否”">
        <source></source>
        <translation>Enter “是” (yes) or “否” (no)</translation>
    </message>
    <message id="此项不能为空">
        <source></source>
        <translation>This field cannot be empty</translation>
    </message>
    <message id="%s 字节">
        <source></source>
        <translation>%s bytes</translation>
    </message>
    <message id="工作簿已损坏: %s">
        <source></source>
        <translation>The workbook is damaged: %s</translation>
    </message>
    <message id="工作簿文件过大(超过%s)">
        <source></source>
        <translation>The workbook file is too large (over %s)</translation>
    </message>
    <message id="无法打开工作簿文件 %s">
        <source></source>
        <translation>Cannot open the workbook file %s</translation>
    </message>
    <message id="工作簿中的 %s 解压后超过 %s">
        <source></source>
        <translation>%s in the workbook exceeds %s unpacked</translation>
    </message>
    <message id="工作簿解压后超过 %s">
        <source></source>
        <translation>The workbook exceeds %s unpacked</translation>
    </message>
    <message id="工作簿中没有 %s">
        <source></source>
        <translation>The workbook has no %s</translation>
    </message>
    <message id="工作簿中的 %s 元素过多(超过%zu个)">
        <source></source>
        <translation>%s in the workbook has too many elements (over %zu)</translation>
    </message>
    <message id="工作簿中的 %s 不是有效的XML: %s (位置 %lld)">
        <source></source>
        <translation>%s in the workbook is not valid XML: %s (offset %lld)</translation>
    </message>
    <message id="工作簿中的 %s 嵌套过深(超过%d层)">
        <source></source>
        <translation>%s in the workbook is nested too deeply (over %d levels)</translation>
    </message>
    <message id="工作表 %s 的行号无效: %s">
        <source></source>
        <translation>Sheet %s has an invalid row number: %s</translation>
    </message>
    <message id="工作表 %s 超过%d行">
        <source></source>
        <translation>Sheet %s has more than %d rows</translation>
    </message>
    <message id="工作簿已损坏或不是.xlsx文件">
        <source></source>
        <translation>The workbook is damaged or not an .xlsx file</translation>
    </message>
    <message id="工作簿中的工作表过多(超过%d个)">
        <source></source>
        <translation>The workbook has too many sheets (over %d)</translation>
    </message>
    <message id="工作簿中没有工作表 %s 的内容">
        <source></source>
        <translation>The workbook has no content for sheet %s</translation>
    </message>
    <message id="无法写入 %s: %s">
        <source></source>
        <translation>Cannot write %s: %s</translation>
    </message>
    <message id="写文件时产生错误: %s">
        <source></source>
        <translation>Error while writing the file: %s</translation>
    </message>
    <message id="工程中没有此从站">
        <source></source>
        <translation>The project has no such slave</translation>
    </message>
    <message id="此从站没有此节点">
        <source></source>
        <translation>This slave has no such node</translation>
    </message>
    <message id="此从站已有此节点">
        <source></source>
        <translation>This slave already has this node</translation>
    </message>
    <message id="此串口已经设置">
        <source></source>
        <translation>This serial port is already set</translation>
    </message>
    <message id="只支持单主站">
        <source></source>
        <translation>Only one master is supported</translation>
    </message>
    <message id="工程中没有此串口">
        <source></source>
        <translation>The project has no such serial port</translation>
    </message>
    <message id="COM1是TRC-H-ZRTU的CDT链路，不能在此设置">
        <source></source>
        <translation>COM1 is the CDT link of the TRC-H-ZRTU and cannot be set here</translation>
    </message>
    <message id="此功能没有此项">
        <source></source>
        <translation>This function has no such setting</translation>
    </message>
    <message id="此网关型号没有此项设置">
        <source></source>
        <translation>This gateway model has no such setting</translation>
    </message>
    <message id="请添加一个主站!">
        <source></source>
        <translation>Please add a master!</translation>
    </message>
</context>
</TS>
