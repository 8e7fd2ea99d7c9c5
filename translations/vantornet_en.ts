<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>NetDeviceCommands</name>
    <message>
        <source>编译完成: RTU接口配置 %1 字节, FIELDBUS操作配置 %2 字节</source>
        <translation>Compiled: RTU interface configuration %1 bytes, FIELDBUS operation configuration %2 bytes</translation>
    </message>
    <message>
        <source>配置下载窗口未安装</source>
        <translation>The configuration download window is not installed</translation>
    </message>
    <message>
        <source>TCP/IP值修改窗口未安装</source>
        <translation>The TCP/IP settings window is not installed</translation>
    </message>
</context>
<context>
    <name>NetDownloadDialog</name>
    <message>
        <source>配置下载</source>
        <translation>Download Configuration</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>通信记录</source>
        <translation>Communication Log</translation>
    </message>
    <message>
        <source>设备IP:</source>
        <translation>Device IP:</translation>
    </message>
    <message>
        <source>端口:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>断开</source>
        <translation>Disconnect</translation>
    </message>
</context>
<context>
    <name>NetEditDialogs</name>
    <message>
        <source>从站属性</source>
        <translation>Slave Properties</translation>
    </message>
    <message>
        <source>IP地址：</source>
        <translation>IP address:</translation>
    </message>
    <message>
        <source>端口号：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>从站MOD地址：</source>
        <translation>Slave MODBUS address:</translation>
    </message>
    <message>
        <source>报文发送延时(ms)：</source>
        <translation>Send delay (ms):</translation>
    </message>
    <message>
        <source>应答超时时间(ms)：</source>
        <translation>Reply timeout (ms):</translation>
    </message>
    <message>
        <source>设备名称：</source>
        <translation>Device name:</translation>
    </message>
    <message>
        <source>设备图像：</source>
        <translation>Device picture:</translation>
    </message>
    <message>
        <source>设备图像</source>
        <translation>Device Picture</translation>
    </message>
    <message>
        <source>控制使能</source>
        <translation>Control enabled</translation>
    </message>
    <message>
        <source>命令设置</source>
        <translation>Command Settings</translation>
    </message>
    <message>
        <source>MODBUS地址：</source>
        <translation>MODBUS address:</translation>
    </message>
    <message>
        <source>网关地址：</source>
        <translation>Gateway address:</translation>
    </message>
    <message>
        <source>注释：</source>
        <translation>Comment:</translation>
    </message>
    <message>
        <source>数变即发</source>
        <translation>Send on change</translation>
    </message>
    <message>
        <source>主站设置</source>
        <translation>Gateway Settings</translation>
    </message>
    <message>
        <source>波特率：</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <source>校验位：</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <source>停止位：</source>
        <translation>Stop bits:</translation>
    </message>
    <message>
        <source>数据位：</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <source>工作模式设置</source>
        <translation>Work Mode Settings</translation>
    </message>
    <message>
        <source>工作模式：</source>
        <translation>Work mode:</translation>
    </message>
    <message>
        <source>数变即发默认设置</source>
        <translation>Send-on-Change Default</translation>
    </message>
    <message>
        <source>数变即发：</source>
        <translation>Send on change:</translation>
    </message>
    <message>
        <source>使能</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>不使能</source>
        <translation>Disabled</translation>
    </message>
</context>
<context>
    <name>NetIpSetDialog</name>
    <message>
        <source>TCP/IP值修改</source>
        <translation>TCP/IP Settings</translation>
    </message>
    <message>
        <source>连接下位IP</source>
        <translation>Connect to Gateway</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>配置端口:</source>
        <translation>Configuration port:</translation>
    </message>
    <message>
        <source>设置新IP</source>
        <translation>New IP Settings</translation>
    </message>
    <message>
        <source>下载配置</source>
        <translation>Download Settings</translation>
    </message>
    <message>
        <source>子网掩码:</source>
        <translation>Subnet mask:</translation>
    </message>
    <message>
        <source>网关:</source>
        <translation>Default gateway:</translation>
    </message>
    <message>
        <source>端口:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>通信记录</source>
        <translation>Communication Log</translation>
    </message>
    <message>
        <source>断开</source>
        <translation>Disconnect</translation>
    </message>
</context>
<context>
    <name>NetMainWindow</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>导出工程表格...</source>
        <translation>Export Project Workbook...</translation>
    </message>
    <message>
        <source>导入工程表格...</source>
        <translation>Import Project Workbook...</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>工具栏</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>设备树</source>
        <translation>Device Tree</translation>
    </message>
    <message>
        <source>模块列表</source>
        <translation>Module List</translation>
    </message>
    <message>
        <source>设备(&amp;D)</source>
        <translation>&amp;Device</translation>
    </message>
    <message>
        <source>编译</source>
        <translation>Compile</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>编译并下载</source>
        <translation>Compile and Download</translation>
    </message>
    <message>
        <source>IP地址设置</source>
        <translation>IP Address Settings</translation>
    </message>
    <message>
        <source>网关地址映射表</source>
        <translation>Gateway Address Map</translation>
    </message>
    <message>
        <source>网关地址修正</source>
        <translation>Correct Gateway Addresses</translation>
    </message>
    <message>
        <source>数变即发默认设置</source>
        <translation>Send-on-Change Default</translation>
    </message>
    <message>
        <source>工作模式设置</source>
        <translation>Work Mode Settings</translation>
    </message>
    <message>
        <source>工作目录</source>
        <translation>Work Folder</translation>
    </message>
    <message>
        <source>BITMAP目录</source>
        <translation>BITMAP Folder</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>关于 VantorNet(&amp;A)...</source>
        <translation>&amp;About VantorNet...</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>模块</source>
        <translation>Modules</translation>
    </message>
    <message>
        <source>%1  从站 %2/%3  命令 %4/%5</source>
        <translation>%1  slaves %2/%3  commands %4/%5</translation>
    </message>
    <message>
        <source>无网关</source>
        <translation>No gateway</translation>
    </message>
    <message>
        <source>关于 VantorNet</source>
        <translation>About VantorNet</translation>
    </message>
    <message>
        <source>VantorNet 2.2.1 版</source>
        <translation>VantorNet version 2.2.1</translation>
    </message>
    <message>
        <source>BITMAP目录</source>
        <comment>what could not be opened</comment>
        <translation>the BITMAP folder</translation>
    </message>
    <message>
        <source>帮助</source>
        <comment>what could not be opened</comment>
        <translation>the help page</translation>
    </message>
</context>
<context>
    <name>NetTableDialogs</name>
    <message>
        <source>DP地址映射表</source>
        <translation>DP Address Map</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>网关地址映射表</source>
        <translation>Gateway Address Map</translation>
    </message>
</context>
</TS>
