<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>DeviceAccessDialog</name>
    <message>
        <source>访问参数设置</source>
        <translation>Access Parameters</translation>
    </message>
    <message>
        <source>访问IP地址:</source>
        <translation>Access IP address:</translation>
    </message>
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
    <name>DeviceControlWordDialog</name>
    <message>
        <source>控制字设置</source>
        <translation>Set Control Word</translation>
    </message>
    <message>
        <source>控制字地址: %1</source>
        <translation>Control word address: %1</translation>
    </message>
    <message>
        <source>控制字:  0x</source>
        <translation>Control word:  0x</translation>
    </message>
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
    <name>DeviceDownloadDialog</name>
    <message>
        <source>配置下载</source>
        <translation>Download Configuration</translation>
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
        <source>通信记录</source>
        <translation>Communication Log</translation>
    </message>
</context>
<context>
    <name>DeviceFirmwareDialog</name>
    <message>
        <source>固件升级</source>
        <translation>Firmware Upgrade</translation>
    </message>
    <message>
        <source>浏览...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>升级</source>
        <translation>Upgrade</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>固件版本:</source>
        <translation>Firmware version:</translation>
    </message>
    <message>
        <source>升级前请将拨码开关BIT4置为ON</source>
        <translation>Before upgrading, set DIP switch BIT4 to ON.</translation>
    </message>
    <message>
        <source>选择固件文件</source>
        <translation>Choose Firmware File</translation>
    </message>
    <message>
        <source>固件文件 (*.bin);;所有文件 (*)</source>
        <translation>Firmware files (*.bin);;All files (*)</translation>
    </message>
</context>
<context>
    <name>DeviceInfoDialog</name>
    <message>
        <source>主站信息</source>
        <translation>Gateway Information</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>设备ID:</source>
        <translation>Device ID:</translation>
    </message>
    <message>
        <source>设备版本:</source>
        <translation>Device version:</translation>
    </message>
    <message>
        <source>固件编译时间:</source>
        <translation>Firmware build time:</translation>
    </message>
    <message>
        <source>运行状态:</source>
        <translation>Run state:</translation>
    </message>
    <message>
        <source>序列号:</source>
        <translation>Serial number:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>DeviceNetworkDialog</name>
    <message>
        <source>网络参数设置</source>
        <translation>Network Parameters</translation>
    </message>
    <message>
        <source>IP地址:</source>
        <translation>IP address:</translation>
    </message>
    <message>
        <source>子网掩码:</source>
        <translation>Subnet mask:</translation>
    </message>
    <message>
        <source>默认网关:</source>
        <translation>Default gateway:</translation>
    </message>
    <message>
        <source>端口:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>下载配置</source>
        <translation>Download Settings</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请添加主站</source>
        <translation>Please add a gateway first</translation>
    </message>
</context>
<context>
    <name>DeviceSlaveStateDialog</name>
    <message>
        <source>从站状态</source>
        <translation>Slave Status</translation>
    </message>
    <message>
        <source>从站地址</source>
        <translation>Slave Address</translation>
    </message>
    <message>
        <source>控制字地址</source>
        <translation>Control Word Addr.</translation>
    </message>
    <message>
        <source>控制字</source>
        <translation>Control Word</translation>
    </message>
    <message>
        <source>状态字地址</source>
        <translation>Status Word Addr.</translation>
    </message>
    <message>
        <source>状态字</source>
        <translation>Status Word</translation>
    </message>
    <message>
        <source>通信记录</source>
        <translation>Communication Log</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>从站列表</source>
        <translation>Slave List</translation>
    </message>
    <message>
        <source>通信诊断</source>
        <translation>Communication Diagnostics</translation>
    </message>
    <message>
        <source>设置控制字</source>
        <translation>Set Control Word</translation>
    </message>
</context>
<context>
    <name>DeviceWorkModeDialog</name>
    <message>
        <source>工作模式设置</source>
        <translation>Work Mode Settings</translation>
    </message>
    <message>
        <source>工作模式</source>
        <translation>Work mode</translation>
    </message>
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
    <name>EditDialogs</name>
    <message>
        <source>从站属性</source>
        <translation>Slave Properties</translation>
    </message>
    <message>
        <source>从站地址：</source>
        <translation>Slave address:</translation>
    </message>
    <message>
        <source>设备名称：</source>
        <translation>Device name:</translation>
    </message>
    <message>
        <source>报文发送延时：</source>
        <translation>Send delay:</translation>
    </message>
    <message>
        <source>应答超时时间：</source>
        <translation>Reply timeout:</translation>
    </message>
    <message>
        <source>配置字：</source>
        <translation>Configuration word:</translation>
    </message>
    <message>
        <source>从站操作使能</source>
        <translation>Slave operation enabled</translation>
    </message>
    <message>
        <source>保留报错</source>
        <translation>Keep errors</translation>
    </message>
    <message>
        <source>清除错误</source>
        <translation>Clear errors</translation>
    </message>
    <message>
        <source>数变即发</source>
        <translation>Send on change</translation>
    </message>
    <message>
        <source>写停发</source>
        <translation>Stop sending on write</translation>
    </message>
    <message>
        <source>命令编辑</source>
        <translation>Edit Command</translation>
    </message>
    <message>
        <source>数变即发:</source>
        <translation>Send on change:</translation>
    </message>
    <message>
        <source>同时映射到遥信数据区</source>
        <translation>Also map to the telesignal area</translation>
    </message>
    <message>
        <source>COM属性</source>
        <translation>COM Properties</translation>
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
        <source>从站时间间隔：</source>
        <translation>Interval between slaves:</translation>
    </message>
    <message>
        <source>数据位:</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <source>寻址方式设置</source>
        <translation>Addressing Mode</translation>
    </message>
    <message>
        <source>默认值设置</source>
        <translation>Default Values</translation>
    </message>
    <message>
        <source>使能</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>不使能</source>
        <translation>Disabled</translation>
    </message>
    <message>
        <source>数变即发默认设置:</source>
        <translation>Send on change by default:</translation>
    </message>
    <message>
        <source>报文发送间隔:</source>
        <translation>Send interval:</translation>
    </message>
    <message>
        <source>应答超时时间:</source>
        <translation>Reply timeout:</translation>
    </message>
</context>
<context>
    <name>FleetDialog</name>
    <message>
        <source>批量下载</source>
        <translation>Batch Download</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>工程文件</source>
        <translation>Project File</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>打开计划...</source>
        <translation>Open Plan...</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>保存报告...</source>
        <translation>Save Report...</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>打开计划</source>
        <translation>Open Plan</translation>
    </message>
    <message>
        <source>计划 (*.csv *.xlsx)</source>
        <translation>Plans (*.csv *.xlsx)</translation>
    </message>
    <message>
        <source>%1个网关, %2行不能执行</source>
        <translation>Gateways: %1, rows that cannot run: %2</translation>
    </message>
    <message>
        <source>保存报告</source>
        <translation>Save Report</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
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
        <source>模块栏</source>
        <translation>Module List</translation>
    </message>
    <message>
        <source>设备树</source>
        <translation>Device Tree</translation>
    </message>
    <message>
        <source>工作目录</source>
        <translation>Work Folder</translation>
    </message>
    <message>
        <source>固件目录</source>
        <translation>Firmware Folder</translation>
    </message>
    <message>
        <source>FIRMWARE目录</source>
        <translation>the FIRMWARE folder</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>配置下载</source>
        <translation>Download Configuration</translation>
    </message>
    <message>
        <source>网络参数设置</source>
        <translation>Network Parameters</translation>
    </message>
    <message>
        <source>访问参数设置</source>
        <translation>Access Parameters</translation>
    </message>
    <message>
        <source>默认值设置</source>
        <translation>Default Values</translation>
    </message>
    <message>
        <source>从站状态</source>
        <translation>Slave Status</translation>
    </message>
    <message>
        <source>网关地址映射表</source>
        <translation>Gateway Address Map</translation>
    </message>
    <message>
        <source>配置上传</source>
        <translation>Upload Configuration</translation>
    </message>
    <message>
        <source>寻址方式设置</source>
        <translation>Addressing Mode</translation>
    </message>
    <message>
        <source>固件升级</source>
        <translation>Firmware Upgrade</translation>
    </message>
    <message>
        <source>EIP网关参数</source>
        <translation>EIP Gateway Parameters</translation>
    </message>
    <message>
        <source>EIP网关地址映射表</source>
        <translation>EIP Gateway Address Map</translation>
    </message>
    <message>
        <source>模式设置</source>
        <translation>Work Mode</translation>
    </message>
    <message>
        <source>通信诊断</source>
        <translation>Communication Diagnostics</translation>
    </message>
    <message>
        <source>调试报告</source>
        <translation>Commissioning Report</translation>
    </message>
    <message>
        <source>批量下载...</source>
        <translation>Batch Download...</translation>
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
        <source>关于 Vantor(&amp;A)...</source>
        <translation>&amp;About Vantor...</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>关于 Vantor</source>
        <translation>About Vantor</translation>
    </message>
    <message>
        <source>帮助</source>
        <comment>the page that cannot be opened</comment>
        <translation>the help page</translation>
    </message>
</context>
<context>
    <name>ReportCommand</name>
    <message>
        <source>调试报告</source>
        <translation>Commissioning Report</translation>
    </message>
</context>
<context>
    <name>TableDialogs</name>
    <message>
        <source>导出</source>
        <translation>Export</translation>
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
        <source>网关地址映射表</source>
        <translation>Gateway Address Map</translation>
    </message>
    <message>
        <source>CDT设备地址映射表</source>
        <translation>CDT Device Address Map</translation>
    </message>
    <message>
        <source>EIP地址映射</source>
        <translation>EIP Address Map</translation>
    </message>
    <message>
        <source>EIP输入总长度</source>
        <translation>EIP input total length</translation>
    </message>
    <message>
        <source>EIP输出总长度</source>
        <translation>EIP output total length</translation>
    </message>
    <message>
        <source>EIP连接个数</source>
        <translation>EIP connections</translation>
    </message>
    <message>
        <source>EIP连接</source>
        <translation>EIP Connection</translation>
    </message>
    <message>
        <source>输入长度</source>
        <translation>Input Length</translation>
    </message>
    <message>
        <source>输出长度</source>
        <translation>Output Length</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>EIP地址</source>
        <translation>EIP Address</translation>
    </message>
    <message>
        <source>网关地址</source>
        <translation>Gateway Address</translation>
    </message>
    <message>
        <source>长度</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>EIP网关参数</source>
        <translation>EIP Gateway Parameters</translation>
    </message>
    <message>
        <source>状态字</source>
        <translation>Status word</translation>
    </message>
    <message>
        <source>控制字</source>
        <translation>Control word</translation>
    </message>
    <message>
        <source>起始地址</source>
        <translation>Start address</translation>
    </message>
    <message>
        <source>COM%1 使能</source>
        <translation>Enable COM%1</translation>
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
        <source>CDT属性设置</source>
        <translation>CDT Settings</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>校验位</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>远端CDT站地址</source>
        <translation>Remote CDT station address</translation>
    </message>
    <message>
        <source>网关CDT站地址</source>
        <translation>Gateway CDT station address</translation>
    </message>
    <message>
        <source>遥测模拟量发送周期(ms)</source>
        <translation>Telemetry (analog) send period (ms)</translation>
    </message>
    <message>
        <source>遥信开关量发送周期(ms)</source>
        <translation>Telesignal (digital) send period (ms)</translation>
    </message>
</context>
</TS>
