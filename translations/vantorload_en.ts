<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>LoadDialog</name>
    <message>
        <source>网关IP</source>
        <translation>Gateway IP</translation>
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
        <source>新设定IP</source>
        <translation>New IP Settings</translation>
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
        <source>MOD端口:</source>
        <translation>MODBUS port:</translation>
    </message>
    <message>
        <source>RTU设置</source>
        <translation>RTU Settings</translation>
    </message>
    <message>
        <source>IP设置</source>
        <translation>IP Settings</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>关于 VantorLoad(&amp;A)...</source>
        <translation>&amp;About VantorLoad...</translation>
    </message>
    <message>
        <source>通信记录</source>
        <translation>Communication Log</translation>
    </message>
    <message>
        <source>设备类型:</source>
        <translation>Device type:</translation>
    </message>
    <message>
        <source>波特率:</source>
        <translation>Baud rate:</translation>
    </message>
    <message>
        <source>校验位:</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <source>停止位:</source>
        <translation>Stop bits:</translation>
    </message>
    <message>
        <source>数据位:</source>
        <translation>Data bits:</translation>
    </message>
    <message>
        <source>MOD地址:</source>
        <translation>MODBUS address:</translation>
    </message>
    <message>
        <source>关于 VantorLoad</source>
        <translation>About VantorLoad</translation>
    </message>
</context>
</TS>
