<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="下载完成">
        <source></source>
        <translation>Download complete</translation>
    </message>
    <message id="下载失败">
        <source></source>
        <translation>Download failed</translation>
    </message>
    <message id="下载失败，与网关的连接已断开">
        <source></source>
        <translation>Download failed: the connection to the gateway was lost</translation>
    </message>
    <message id="VantorLoad 2.0.1 版">
        <source></source>
        <translation>VantorLoad version 2.0.1</translation>
    </message>
    <message id="断开">
        <source></source>
        <translation>Disconnect</translation>
    </message>
    <message id="连接">
        <source></source>
        <translation>Connect</translation>
    </message>
    <message id="请输入完整的IP地址">
        <source></source>
        <translation>Enter a complete IP address</translation>
    </message>
    <message id="配置端口取值范围:1-65535">
        <source></source>
        <translation>Configuration port range: 1-65535</translation>
    </message>
    <message id="MOD端口取值范围:1-65535">
        <source></source>
        <translation>MODBUS port range: 1-65535</translation>
    </message>
    <message id="MOD地址取值范围:0-127">
        <source></source>
        <translation>MODBUS address range: 0-127</translation>
    </message>
    <message id="网关DP地址">
        <source></source>
        <translation>Gateway DP address</translation>
    </message>
    <message id="命令">
        <source></source>
        <translation>Command</translation>
    </message>
    <message id="长度">
        <source></source>
        <translation>Length</translation>
    </message>
    <message id="通道">
        <source></source>
        <translation>Channel</translation>
    </message>
    <message id="站地址">
        <source></source>
        <translation>Slave address</translation>
    </message>
    <message id="从站数据起始地址">
        <source></source>
        <translation>Slave data start address</translation>
    </message>
    <message id="读">
        <source></source>
        <translation>Read</translation>
    </message>
    <message id="写">
        <source></source>
        <translation>Write</translation>
    </message>
    <message id="网关MODBUS地址">
        <source></source>
        <translation>Gateway MODBUS address</translation>
    </message>
    <message id="读/写">
        <source></source>
        <translation>Read/Write</translation>
    </message>
    <message id="长度(bit)">
        <source></source>
        <translation>Length (bit)</translation>
    </message>
    <message id="长度(word)">
        <source></source>
        <translation>Length (word)</translation>
    </message>
    <message id="DP输入">
        <source></source>
        <translation>DP input</translation>
    </message>
    <message id="DP输出">
        <source></source>
        <translation>DP output</translation>
    </message>
    <message id="无校验">
        <source></source>
        <translation>None</translation>
    </message>
    <message id="奇校验">
        <source></source>
        <translation>Odd</translation>
    </message>
    <message id="偶校验">
        <source></source>
        <translation>Even</translation>
    </message>
    <message id="1位">
        <source></source>
        <translation>1 bit</translation>
    </message>
    <message id="2位">
        <source></source>
        <translation>2 bits</translation>
    </message>
    <message id="错误">
        <source></source>
        <translation>Error</translation>
    </message>
    <message id="注释含有无法保存的字符">
        <source></source>
        <translation>The comment contains characters that cannot be saved</translation>
    </message>
    <message id="功能">
        <source></source>
        <translation>Function</translation>
    </message>
    <message id="起始地址">
        <source></source>
        <translation>Start address</translation>
    </message>
    <message id="数据单元数(长度)">
        <source></source>
        <translation>Data units (length)</translation>
    </message>
    <message id="数变即发">
        <source></source>
        <translation>Send on change</translation>
    </message>
    <message id="网关地址">
        <source></source>
        <translation>Gateway address</translation>
    </message>
    <message id="注释">
        <source></source>
        <translation>Comment</translation>
    </message>
    <message id="是">
        <source></source>
        <translation>Yes</translation>
    </message>
    <message id="删除模块">
        <source></source>
        <translation>Delete command</translation>
    </message>
    <message id="确实要删除吗？">
        <source></source>
        <translation>Are you sure you want to delete it?</translation>
    </message>
    <message id="MODBUS地址格式错误">
        <source></source>
        <translation>Invalid MODBUS address</translation>
    </message>
    <message id="MODBUS地址添入一个1和247之间的整数">
        <source></source>
        <translation>Enter a MODBUS address between 1 and 247</translation>
    </message>
    <message id="PB输入最大244BYTE">
        <source></source>
        <translation>The PROFIBUS input is at most 244 bytes</translation>
    </message>
    <message id="PB输出最大244BYTE">
        <source></source>
        <translation>The PROFIBUS output is at most 244 bytes</translation>
    </message>
    <message id="网关数据区访问超限 0区8192,1区8192,3区2000,4区2000">
        <source></source>
        <translation>Beyond the gateway data areas: area 0 8192, area 1 8192, area 3 2000, area 4 2000</translation>
    </message>
    <message id="模块数超范围，最大模块数为1024">
        <source></source>
        <translation>Too many commands: at most 1024</translation>
    </message>
    <message id="从站数%zu超过255">
        <source></source>
        <translation>%zu slaves are more than 255</translation>
    </message>
    <message id="%s 站地址%d超出0~255">
        <source></source>
        <translation>%s slave address %d is outside 0~255</translation>
    </message>
    <message id="%s 站地址%d的命令数超过255">
        <source></source>
        <translation>%s slave address %d has more than 255 commands</translation>
    </message>
    <message id="下载数据量过大，请减少从站个数或从站模块数">
        <source></source>
        <translation>Too much data to download: reduce the number of slaves or of their commands</translation>
    </message>
    <message id="空从站提示">
        <source></source>
        <translation>Empty slaves</translation>
    </message>
    <message id="正在获取设备状态....">
        <source></source>
        <translation>Reading the device state....</translation>
    </message>
    <message id="正在下载RTU接口配置....">
        <source></source>
        <translation>Downloading the RTU interface configuration....</translation>
    </message>
    <message id=" 应答不完整">
        <source></source>
        <translation> The reply is incomplete.</translation>
    </message>
    <message id="正在重启设备....">
        <source></source>
        <translation>Restarting the device....</translation>
    </message>
    <message id="正在下载FIELDBUS操作配置....">
        <source></source>
        <translation>Downloading the FIELDBUS operation configuration....</translation>
    </message>
    <message id="连接中，请稍候....">
        <source></source>
        <translation>Connecting, please wait....</translation>
    </message>
    <message id="    请下载">
        <source></source>
        <translation>    Ready to download</translation>
    </message>
    <message id="从站MOD地址: %d">
        <source></source>
        <translation>Slave MODBUS address: %d</translation>
    </message>
    <message id="缺少图片">
        <source></source>
        <translation>Missing picture</translation>
    </message>
    <message id="IP: %s         端口: %s">
        <source></source>
        <translation>IP: %s         Port: %s</translation>
    </message>
    <message id="连接失败">
        <source></source>
        <translation>Connection failed</translation>
    </message>
    <message id="请选择从站">
        <source></source>
        <translation>Select a slave</translation>
    </message>
    <message id="最多添加31个站点">
        <source></source>
        <translation>At most 31 stations can be added</translation>
    </message>
    <message id="删除节点">
        <source></source>
        <translation>Delete node</translation>
    </message>
    <message id="%s: 不是VantorNet工程文件">
        <source></source>
        <translation>%s: not a VantorNet project file</translation>
    </message>
    <message id="IP地址格式错误">
        <source></source>
        <translation>Invalid IP address</translation>
    </message>
    <message id="从站MOD地址添入一个1和247之间的整数">
        <source></source>
        <translation>Enter a slave MODBUS address between 1 and 247</translation>
    </message>
    <message id="没有可用的网关地址">
        <source></source>
        <translation>No free gateway address</translation>
    </message>
    <message id="IP地址末位">
        <source></source>
        <translation>Last octet of the IP address</translation>
    </message>
    <message id="从站MOD地址">
        <source></source>
        <translation>Slave MODBUS address</translation>
    </message>
    <message id="%s:%d MOD:%d 已经存在">
        <source></source>
        <translation>%s:%d MOD:%d already exists</translation>
    </message>
    <message id="从站MOD地址格式错误">
        <source></source>
        <translation>Invalid slave MODBUS address</translation>
    </message>
    <message id="报文发送间隔格式错误">
        <source></source>
        <translation>Invalid send interval</translation>
    </message>
    <message id="应答超时时间格式错误">
        <source></source>
        <translation>Invalid reply timeout</translation>
    </message>
    <message id="端口号添入一个0和65535之间的整数">
        <source></source>
        <translation>Enter a port between 0 and 65535</translation>
    </message>
    <message id="报文发送间隔请添入一个0和3000之间的整数">
        <source></source>
        <translation>Enter a send interval between 0 and 3000</translation>
    </message>
    <message id="应答超时时间请添入一个10和3000之间的整数">
        <source></source>
        <translation>Enter a reply timeout between 10 and 3000</translation>
    </message>
    <message id="设备名称含有无法保存的字符">
        <source></source>
        <translation>The device name contains characters that cannot be saved</translation>
    </message>
    <message id="注意: 报文发送间隔 应答超时时间取值为10的整数倍">
        <source></source>
        <translation>Note: the send interval and the reply timeout are multiples of 10</translation>
    </message>
    <message id="请输入一个介于 1 和 247 之间的整数。">
        <source></source>
        <translation>Enter an integer between 1 and 247.</translation>
    </message>
    <message id="无法写入%s">
        <source></source>
        <translation>Cannot write %s</translation>
    </message>
    <message id="无法写入%s: %s">
        <source></source>
        <translation>Cannot write %s: %s</translation>
    </message>
    <message id="是否连接网关 %s 读取设备信息和从站状态？">
        <source></source>
        <translation>Connect to the gateway %s and read the device information and the slave states?</translation>
    </message>
    <message id="网关没有应答">
        <source></source>
        <translation>The gateway did not answer</translation>
    </message>
    <message id="该网关型号没有从站状态">
        <source></source>
        <translation>This gateway model has no slave states</translation>
    </message>
    <message id="调试报告不能覆盖工程文件">
        <source></source>
        <translation>The commissioning report cannot overwrite the project file</translation>
    </message>
    <message id="控制字输入错误,应为4个16进制数">
        <source></source>
        <translation>Invalid control word: enter 4 hexadecimal digits</translation>
    </message>
    <message id="设置成功">
        <source></source>
        <translation>Set successfully</translation>
    </message>
    <message id="设置失败">
        <source></source>
        <translation>Setting failed</translation>
    </message>
    <message id="控制字应答数据不完整">
        <source></source>
        <translation>The control word reply is incomplete</translation>
    </message>
    <message id="用户配置错误">
        <source></source>
        <translation>User configuration error</translation>
    </message>
    <message id="存储转发模式">
        <source></source>
        <translation>Store-and-forward mode</translation>
    </message>
    <message id="参数配置模式">
        <source></source>
        <translation>Parameter configuration mode</translation>
    </message>
    <message id="出厂测试模式">
        <source></source>
        <translation>Factory test mode</translation>
    </message>
    <message id="透明传输模式">
        <source></source>
        <translation>Transparent mode</translation>
    </message>
    <message id="启动失败">
        <source></source>
        <translation>Start-up failed</translation>
    </message>
    <message id="工作模式">
        <source></source>
        <translation>Working mode</translation>
    </message>
    <message id="配置模式">
        <source></source>
        <translation>Configuration mode</translation>
    </message>
    <message id="测试模式">
        <source></source>
        <translation>Test mode</translation>
    </message>
    <message id="主站没有响应">
        <source></source>
        <translation>The gateway did not respond</translation>
    </message>
    <message id="设备状态应答数据不完整">
        <source></source>
        <translation>The device state reply is incomplete</translation>
    </message>
    <message id="序列号应答数据不完整">
        <source></source>
        <translation>The serial number reply is incomplete</translation>
    </message>
    <message id="若状态信息显示为空，请检查“设备-&gt;访问参数设置”及网关的网络连接">
        <source></source>
        <translation>If the state fields stay empty, check &quot;Device -&gt; Access Parameters&quot; and the gateway&apos;s network connection</translation>
    </message>
    <message id="设备型号不匹配">
        <source></source>
        <translation>The device model does not match</translation>
    </message>
    <message id="固件输入错误,请确认文件是否存在">
        <source></source>
        <translation>Cannot read the firmware: check that the file exists</translation>
    </message>
    <message id="固件文件不完整,长度不足32字节的文件头">
        <source></source>
        <translation>The firmware file is incomplete: shorter than its 32-byte header</translation>
    </message>
    <message id="固件升级应答数据不完整">
        <source></source>
        <translation>The firmware update reply is incomplete</translation>
    </message>
    <message id="在线">
        <source></source>
        <translation>Online</translation>
    </message>
    <message id="超时">
        <source></source>
        <translation>Timeout</translation>
    </message>
    <message id="已停止">
        <source></source>
        <translation>Stopped</translation>
    </message>
    <message id="从未应答">
        <source></source>
        <translation>Never answered</translation>
    </message>
    <message id="从站地址">
        <source></source>
        <translation>Slave address</translation>
    </message>
    <message id="名称">
        <source></source>
        <translation>Name</translation>
    </message>
    <message id="状态">
        <source></source>
        <translation>State</translation>
    </message>
    <message id="失败率">
        <source></source>
        <translation>Failure rate</translation>
    </message>
    <message id="最后成功">
        <source></source>
        <translation>Last success</translation>
    </message>
    <message id="周期占比">
        <source></source>
        <translation>Cycle share</translation>
    </message>
    <message id="%lld 秒">
        <source></source>
        <translation>%lld s</translation>
    </message>
    <message id="%lld 分 %lld 秒">
        <source></source>
        <translation>%lld min %lld s</translation>
    </message>
    <message id="从未">
        <source></source>
        <translation>Never</translation>
    </message>
    <message id="刚刚">
        <source></source>
        <translation>Just now</translation>
    </message>
    <message id="%s前">
        <source></source>
        <translation>%s ago</translation>
    </message>
    <message id="%s 从站 %d">
        <source></source>
        <translation>%s slave %d</translation>
    </message>
    <message id="%s（已持续 %s）">
        <source></source>
        <translation>%s (for %s)</translation>
    </message>
    <message id="状态字 0x%04X">
        <source></source>
        <translation>State word 0x%04X</translation>
    </message>
    <message id="网关未列出此从站">
        <source></source>
        <translation>The gateway does not list this slave</translation>
    </message>
    <message id="  失败率 %s">
        <source></source>
        <translation>  Failure rate %s</translation>
    </message>
    <message id="%s 合计  失败率 %s">
        <source></source>
        <translation>%s total  Failure rate %s</translation>
    </message>
    <message id="最近 %zu 个轮询周期：成功向上，失败向下">
        <source></source>
        <translation>Last %zu poll cycles: successes up, failures down</translation>
    </message>
    <message id="端口取值范围:0-65535">
        <source></source>
        <translation>Port range: 0-65535</translation>
    </message>
    <message id="网口1子网掩码设置错误">
        <source></source>
        <translation>Ethernet port 1: invalid subnet mask</translation>
    </message>
    <message id="网口1IP设置错误">
        <source></source>
        <translation>Ethernet port 1: invalid IP address</translation>
    </message>
    <message id="网口1网关设置错误">
        <source></source>
        <translation>Ethernet port 1: invalid default gateway</translation>
    </message>
    <message id="网口1IP和网关不在同一网段">
        <source></source>
        <translation>Ethernet port 1: the IP address and the default gateway are not in the same subnet</translation>
    </message>
    <message id="网口1端口不能为0">
        <source></source>
        <translation>Ethernet port 1: the port cannot be 0</translation>
    </message>
    <message id="网口1IP不能为子网的网络地址">
        <source></source>
        <translation>Ethernet port 1: the IP address cannot be the subnet&apos;s network address</translation>
    </message>
    <message id="网口1IP不能为子网的广播地址">
        <source></source>
        <translation>Ethernet port 1: the IP address cannot be the subnet&apos;s broadcast address</translation>
    </message>
    <message id="网口1默认网关不能与IP相同">
        <source></source>
        <translation>Ethernet port 1: the default gateway cannot be the IP address</translation>
    </message>
    <message id="通信已中断，以下为 %s 最后一次应答的数据">
        <source></source>
        <translation>Communication lost: below is the data of the last reply, at %s</translation>
    </message>
    <message id="从站状态应答数据不完整">
        <source></source>
        <translation>The slave state reply is incomplete</translation>
    </message>
    <message id="控制字: BIT0 设备操作使能位。">
        <source></source>
        <translation>Control word: BIT0 device operation enable.</translation>
    </message>
    <message id="置“1”，从站工作使能；置“0” 配置中从站不再收发数据。">
        <source></source>
        <translation>&quot;1&quot; enables the slave; with &quot;0&quot; the configured slave no longer sends or receives data.</translation>
    </message>
    <message id="BIT1 接收失败计数清除。置“1”，接收失败计数清零一次。">
        <source></source>
        <translation>BIT1 receive failure count reset: &quot;1&quot; clears the count once.</translation>
    </message>
    <message id="BIT1 接收超时计数清除。置“1”，接收超时计数清零一次。">
        <source></source>
        <translation>BIT1 receive timeout count reset: &quot;1&quot; clears the count once.</translation>
    </message>
    <message id="状态字: BIT1-0  从站状态位。01：从站应答正确，10:从站应答超时，11：从站应答错误。">
        <source></source>
        <translation>State word: BIT1-0  slave state: 01 the slave answered correctly, 10 the slave reply timed out, 11 the slave answered with an error.</translation>
    </message>
    <message id="BIT7-2  接收成功计数位。 接收成功一次该计数器加“1”。">
        <source></source>
        <translation>BIT7-2  receive success count: one more for each successful receive.</translation>
    </message>
    <message id="BIT13-8 接收失败计数位 接收失败(超时或错误)一次该计数器加“1”。">
        <source></source>
        <translation>BIT13-8 receive failure count: one more for each failed receive (timeout or error).</translation>
    </message>
    <message id="BIT14   接收失败溢出位。溢出时为 “1”，没有溢出时为 “0”。">
        <source></source>
        <translation>BIT14   receive failure overflow: &quot;1&quot; when the count overflowed, else &quot;0&quot;.</translation>
    </message>
    <message id="BIT15   从站配置位。为1表示对应从站已被配置，否则表示未被配置。">
        <source></source>
        <translation>BIT15   slave configured: 1 when the slave is configured, else 0.</translation>
    </message>
    <message id="状态字: BIT0    当前在线/离线状态位。在线为 “1”，离线为 “0”。">
        <source></source>
        <translation>State word: BIT0    online/offline: &quot;1&quot; online, &quot;0&quot; offline.</translation>
    </message>
    <message id="BIT7-1  接收成功计数位。 接收成功一次该计数器加“1”。">
        <source></source>
        <translation>BIT7-1  receive success count: one more for each successful receive.</translation>
    </message>
    <message id="BIT14-8 接收超时计数位。 接收超时一次该计数器加“1”。">
        <source></source>
        <translation>BIT14-8 receive timeout count: one more for each receive timeout.</translation>
    </message>
    <message id="BIT15   接收超时溢出位。溢出时为 “1”，没有溢出时为 “0”。">
        <source></source>
        <translation>BIT15   receive timeout overflow: &quot;1&quot; when the count overflowed, else &quot;0&quot;.</translation>
    </message>
    <message id="你选择了下载空文件！">
        <source></source>
        <translation>The address file is missing!</translation>
    </message>
    <message id="远端选择方式不能有相同的从站地址 地址相同的从站有%s和%s">
        <source></source>
        <translation>Remote selection needs different slave addresses: %s and %s have the same address</translation>
    </message>
    <message id="设备版本错误">
        <source></source>
        <translation>Wrong device version</translation>
    </message>
    <message id="下 载 完 毕!">
        <source></source>
        <translation>Download complete!</translation>
    </message>
    <message id="正在连接%s:%d...">
        <source></source>
        <translation>Connecting to %s:%d...</translation>
    </message>
    <message id="连接%s:%d失败,请检查设备的网络参数和网络连接">
        <source></source>
        <translation>Connecting to %s:%d failed; check the device&apos;s network parameters and the network connection</translation>
    </message>
    <message id="连接%s:%d超时,请检查设备的网络参数和网络连接">
        <source></source>
        <translation>Connecting to %s:%d timed out; check the device&apos;s network parameters and the network connection</translation>
    </message>
    <message id="下 载 失 败！%s">
        <source></source>
        <translation>Download failed!%s</translation>
    </message>
    <message id="下 载 失 败！%d">
        <source></source>
        <translation>Download failed! Status %d</translation>
    </message>
    <message id="发送失败">
        <source></source>
        <translation>Sending failed</translation>
    </message>
    <message id="访问IP地址设置错误">
        <source></source>
        <translation>Invalid access IP address</translation>
    </message>
    <message id="信息">
        <source></source>
        <translation>Information</translation>
    </message>
    <message id="端口格式错误">
        <source></source>
        <translation>Invalid port</translation>
    </message>
    <message id="下 载 失 败！">
        <source></source>
        <translation>Download failed!</translation>
    </message>
    <message id=" 应答超时">
        <source></source>
        <translation> The reply timed out.</translation>
    </message>
    <message id="下载完毕！">
        <source></source>
        <translation>Download complete!</translation>
    </message>
    <message id="无应答">
        <source></source>
        <translation>No reply</translation>
    </message>
    <message id="连接失败，请查看IP设置或硬件灯显示">
        <source></source>
        <translation>Connection failed: check the IP settings or the hardware LEDs</translation>
    </message>
    <message id="存在没有操作的从站,继续下载吗？&#10;空站地址为: %s">
        <source></source>
        <translation>Some slaves have no commands. Download anyway?
Empty slaves: %s</translation>
    </message>
    <message id="固件升级失败,错误码%d&#10;请确认拨码开关BIT4为ON">
        <source></source>
        <translation>Firmware update failed, error code %d
Check that DIP switch BIT4 is ON</translation>
    </message>
    <message id="固件升级完成&#10;将拨码开关BIT4置为OFF,并对设备重新上电">
        <source></source>
        <translation>Firmware update complete
Set DIP switch BIT4 to OFF and power the device off and on again</translation>
    </message>
    <message id="主站网关响应超时&#10;">
        <source></source>
        <translation>The gateway did not answer in time
</translation>
    </message>
    <message id="固件文件取自 %s 中的 %s*.bin，也可点击&quot;浏览...&quot;选择其他文件">
        <source></source>
        <translation>The firmware file is taken from %s, named %s*.bin; click &quot;Browse...&quot; to choose another file</translation>
    </message>
    <message id="无法保存文件 %s: %s">
        <source></source>
        <translation>Cannot save file %s: %s</translation>
    </message>
    <message id="无法创建临时文件">
        <source></source>
        <translation>Cannot create the temporary file</translation>
    </message>
    <message id="写入失败">
        <source></source>
        <translation>Write failed</translation>
    </message>
    <message id="无法替换文件">
        <source></source>
        <translation>Cannot replace the file</translation>
    </message>
    <message id="远端选择方式不能有相同的从站地址 地址相同的从站有%s:%d和%s:%d">
        <source></source>
        <translation>Remote slave addressing needs unique slave addresses. Slaves with the same address: %s:%d and %s:%d</translation>
    </message>
    <message id="MODBUS数据区寻址(参考本软件生成的网关地址映射表)">
        <source></source>
        <translation>MODBUS data area addressing (see the gateway address map this program makes)</translation>
    </message>
    <message id="远端从站寻址(网关多个串口上挂载的从站地址不能相同)">
        <source></source>
        <translation>Remote slave addressing (slaves on different serial ports of the gateway need different addresses)</translation>
    </message>
    <message id="Modbus RTU 1/3区-&gt;CDT遥信数据区">
        <source></source>
        <translation>Modbus RTU area 1/3 -&gt; CDT telesignal data area</translation>
    </message>
    <message id="Modbus RTU 3区-&gt;CDT遥测数据区">
        <source></source>
        <translation>Modbus RTU area 3 -&gt; CDT telemetry data area</translation>
    </message>
    <message id="MRTU从站状态-&gt;CDT遥信数据区">
        <source></source>
        <translation>MRTU slave state -&gt; CDT telesignal data area</translation>
    </message>
    <message id="CDT偏移地址">
        <source></source>
        <translation>CDT offset address</translation>
    </message>
    <message id="MRTU站地址">
        <source></source>
        <translation>MRTU station address</translation>
    </message>
    <message id="数据首地址">
        <source></source>
        <translation>Data start address</translation>
    </message>
    <message id="数据长度">
        <source></source>
        <translation>Data length</translation>
    </message>
    <message id="远端CDT站地址取值范围:0~255">
        <source></source>
        <translation>Remote CDT station address range: 0~255</translation>
    </message>
    <message id="网关CDT站地址取值范围:0~255">
        <source></source>
        <translation>Gateway CDT station address range: 0~255</translation>
    </message>
    <message id="远端CDT站地址和网关CDT站地址不能为同一地址">
        <source></source>
        <translation>The remote and the gateway CDT station addresses must differ</translation>
    </message>
    <message id="遥测模拟量发送周期取值范围:0~1000">
        <source></source>
        <translation>Telemetry (analog) send period range: 0~1000</translation>
    </message>
    <message id="遥信开关量发送周期取值范围:0~3000">
        <source></source>
        <translation>Telesignal (digital) send period range: 0~3000</translation>
    </message>
    <message id="0区读区域重叠">
        <source></source>
        <translation>Area 0 read ranges overlap</translation>
    </message>
    <message id="0区写区域重叠">
        <source></source>
        <translation>Area 0 write ranges overlap</translation>
    </message>
    <message id="1区读区域重叠">
        <source></source>
        <translation>Area 1 read ranges overlap</translation>
    </message>
    <message id="3区读区域重叠">
        <source></source>
        <translation>Area 3 read ranges overlap</translation>
    </message>
    <message id="4区读区域重叠">
        <source></source>
        <translation>Area 4 read ranges overlap</translation>
    </message>
    <message id="4区写区域重叠">
        <source></source>
        <translation>Area 4 write ranges overlap</translation>
    </message>
    <message id="长度请添入1">
        <source></source>
        <translation>Length: enter 1</translation>
    </message>
    <message id="长度请添入一个1和%d之间的整数">
        <source></source>
        <translation>Length: enter an integer between 1 and %d</translation>
    </message>
    <message id="起始地址格式错误">
        <source></source>
        <translation>Start address: invalid format</translation>
    </message>
    <message id="长度格式错误">
        <source></source>
        <translation>Length: invalid format</translation>
    </message>
    <message id="起始地址请添入一个0和65535之间的整数">
        <source></source>
        <translation>Start address: enter an integer between 0 and 65535</translation>
    </message>
    <message id="网关地址错误">
        <source></source>
        <translation>Invalid gateway address</translation>
    </message>
    <message id="网关地址超限">
        <source></source>
        <translation>Gateway address out of range</translation>
    </message>
    <message id="网关地址区域重叠">
        <source></source>
        <translation>Gateway address ranges overlap</translation>
    </message>
    <message id="注释最大长度为256个字符">
        <source></source>
        <translation>A comment is at most 256 characters long</translation>
    </message>
    <message id="超限,数据区范围为1-65536">
        <source></source>
        <translation>Out of range, the data area is 1-65536</translation>
    </message>
    <message id="起始地址(bit)：">
        <source></source>
        <translation>Start address (bit):</translation>
    </message>
    <message id="起始地址(word)：">
        <source></source>
        <translation>Start address (word):</translation>
    </message>
    <message id="长度(bit)：">
        <source></source>
        <translation>Length (bit):</translation>
    </message>
    <message id="长度(word)：">
        <source></source>
        <translation>Length (word):</translation>
    </message>
    <message id="网关地址:">
        <source></source>
        <translation>Gateway address:</translation>
    </message>
    <message id="注释：">
        <source></source>
        <translation>Comment:</translation>
    </message>
    <message id="报文发送间隔请添入一个10和2550之间的整数">
        <source></source>
        <translation>Send interval: enter an integer between 10 and 2550</translation>
    </message>
    <message id="%s有非法字符">
        <source></source>
        <translation>%s contains invalid characters</translation>
    </message>
    <message id="%s请添入一个1和%d之间的整数">
        <source></source>
        <translation>%s: enter an integer between 1 and %d</translation>
    </message>
    <message id="复制数量">
        <source></source>
        <translation>Number of copies</translation>
    </message>
    <message id="地址间隔">
        <source></source>
        <translation>Address step</translation>
    </message>
    <message id="报文发送间隔时间有非法字符">
        <source></source>
        <translation>The send interval contains invalid characters</translation>
    </message>
    <message id="应答超时时间有非法字符">
        <source></source>
        <translation>The reply timeout contains invalid characters</translation>
    </message>
    <message id="应答超时时间请添入一个100和3000之间的整数">
        <source></source>
        <translation>Reply timeout: enter an integer between 100 and 3000</translation>
    </message>
    <message id="输入超限">
        <source></source>
        <translation>Input size exceeds the limit</translation>
    </message>
    <message id="输出超限">
        <source></source>
        <translation>Output size exceeds the limit</translation>
    </message>
    <message id="状态字">
        <source></source>
        <translation>status word</translation>
    </message>
    <message id="控制字">
        <source></source>
        <translation>control word</translation>
    </message>
    <message id="COM%d %s起始地址取值范围%d-%d">
        <source></source>
        <translation>COM%d %s start address range %d-%d</translation>
    </message>
    <message id="COM%d %s长度取值范围%d-%d">
        <source></source>
        <translation>COM%d %s length range %d-%d</translation>
    </message>
    <message id="%s 轮询周期约 %ld ms，超过限值；耗时最多的是从站 %d（约 %ld ms）">
        <source></source>
        <translation>%s poll cycle about %ld ms, over the limit; the slowest slave is %d (about %ld ms)</translation>
    </message>
    <message id="%s 轮询周期约 %ld ms">
        <source></source>
        <translation>%s poll cycle about %ld ms</translation>
    </message>
    <message id="没有主站，请添加主站！">
        <source></source>
        <translation>No gateway, please add a gateway!</translation>
    </message>
    <message id="没有选中的COM线">
        <source></source>
        <translation>No COM line selected</translation>
    </message>
    <message id="%s只有两个COM口">
        <source></source>
        <translation>%s has only two COM ports</translation>
    </message>
    <message id="%s只有四个COM口">
        <source></source>
        <translation>%s has only four COM ports</translation>
    </message>
    <message id="%s只有%d个COM口">
        <source></source>
        <translation>%s has only %d COM ports</translation>
    </message>
    <message id="%s的%s已经存在">
        <source></source>
        <translation>%s already has %s</translation>
    </message>
    <message id="只支持单主站">
        <source></source>
        <translation>Only one gateway is supported</translation>
    </message>
    <message id="请选择从站!">
        <source></source>
        <translation>Please select a slave!</translation>
    </message>
    <message id="删除从站">
        <source></source>
        <translation>Delete slave</translation>
    </message>
    <message id="删除com">
        <source></source>
        <translation>Delete COM line</translation>
    </message>
    <message id="删除主站">
        <source></source>
        <translation>Delete gateway</translation>
    </message>
    <message id="没有可用的从站地址">
        <source></source>
        <translation>No free slave address</translation>
    </message>
    <message id="地址已经被占用,请更换另外一个！">
        <source></source>
        <translation>The address is in use, please choose another one!</translation>
    </message>
    <message id="打开文件时产生错误">
        <source></source>
        <translation>Error while opening the file</translation>
    </message>
    <message id="添加列头时产生错误">
        <source></source>
        <translation>Error while adding the column headers</translation>
    </message>
    <message id="首行列头字段重复:%s">
        <source></source>
        <translation>Duplicate column header in the first row: %s</translation>
    </message>
    <message id="写文件时产生错误">
        <source></source>
        <translation>Error while writing the file</translation>
    </message>
    <message id="地址请添入一个1和247之间的整数">
        <source></source>
        <translation>Address: enter an integer between 1 and 247</translation>
    </message>
    <message id="地址%d已经被占用,请更换地址间隔或复制数量">
        <source></source>
        <translation>Address %d is in use, please change the address step or the number of copies</translation>
    </message>
    <message id="设备名称超过64字符">
        <source></source>
        <translation>The device name is longer than 64 characters</translation>
    </message>
    <message id="从站地址有非法字符">
        <source></source>
        <translation>The slave address contains invalid characters</translation>
    </message>
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
    <message id="无法打开文件 %s">
        <source></source>
        <translation>Cannot open file %s</translation>
    </message>
    <message id="无法打开文件 %s: %s">
        <source></source>
        <translation>Cannot open file %s: %s</translation>
    </message>
    <message id="无法打开文件 %s: 文件已损坏或格式不正确">
        <source></source>
        <translation>Cannot open file %s: the file is damaged or not in the right format</translation>
    </message>
    <message id="文件过大">
        <source></source>
        <translation>File too large</translation>
    </message>
    <message id="读0区 01H">
        <source></source>
        <translation>Read area 0 01H</translation>
    </message>
    <message id="写0区 0FH 写多线圈">
        <source></source>
        <translation>Write area 0 0FH write multiple coils</translation>
    </message>
    <message id="写0区 05H 写单线圈">
        <source></source>
        <translation>Write area 0 05H write single coil</translation>
    </message>
    <message id="读1区 02H">
        <source></source>
        <translation>Read area 1 02H</translation>
    </message>
    <message id="读3区 04H">
        <source></source>
        <translation>Read area 3 04H</translation>
    </message>
    <message id="读4区 03H">
        <source></source>
        <translation>Read area 4 03H</translation>
    </message>
    <message id="写4区 06H 写单字">
        <source></source>
        <translation>Write area 4 06H write single register</translation>
    </message>
    <message id="写4区 10H 写多字">
        <source></source>
        <translation>Write area 4 10H write multiple registers</translation>
    </message>
    <message id="请添加一个主站!">
        <source></source>
        <translation>Please add a gateway!</translation>
    </message>
    <message id="未知设备">
        <source></source>
        <translation>Unknown device</translation>
    </message>
    <message id="设备型号不匹配 配置设备为%s 实际设备为%s">
        <source></source>
        <translation>Device model mismatch: configured %s, actual device %s</translation>
    </message>
    <message id="网关数据区访问超限 0区4096,1区4096,3区2000,4区2000">
        <source></source>
        <translation>Gateway data area access out of range (area 0: 4096, area 1: 4096, area 3: 2000, area 4: 2000)</translation>
    </message>
    <message id="遥信最大数据为512bit">
        <source></source>
        <translation>Telesignal data is at most 512 bits</translation>
    </message>
    <message id="遥测最大数据为256word">
        <source></source>
        <translation>Telemetry data is at most 256 words</translation>
    </message>
    <message id="模块数超范围，最大模块数为%d">
        <source></source>
        <translation>Too many commands, at most %d</translation>
    </message>
    <message id="每个串口上最多连接%d个从站">
        <source></source>
        <translation>At most %d slaves per serial port</translation>
    </message>
    <message id="无法打开文件 %s: 不是Vantor工程文件">
        <source></source>
        <translation>Cannot open file %s: not a Vantor project file</translation>
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
    <message id="远端从站寻址">
        <source></source>
        <translation>Remote slave addressing</translation>
    </message>
    <message id="MODBUS数据区寻址">
        <source></source>
        <translation>MODBUS data area addressing</translation>
    </message>
    <message id="当前寻址方式:  %s">
        <source></source>
        <translation>Current addressing mode:  %s</translation>
    </message>
    <message id="没有找到从站文件">
        <source></source>
        <translation>Slave picture file not found</translation>
    </message>
    <message id="没有找到%s文件">
        <source></source>
        <translation>Picture file of %s not found</translation>
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
    <message id="工程中没有此串口">
        <source></source>
        <translation>The project has no such serial port</translation>
    </message>
    <message id="COM1是TRC-H-ZRTU的CDT链路，不能在此设置">
        <source></source>
        <translation>COM1 is the CDT link of the TRC-H-ZRTU and cannot be set here</translation>
    </message>
    <message id="此网关型号没有此项设置">
        <source></source>
        <translation>This gateway model has no such setting</translation>
    </message>
</context>
</TS>
