<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>About</name>
    <message>
        <source>Version:</source>
        <translation>版本：</translation>
    </message>
    <message>
        <source>Date：</source>
        <translation>日期：</translation>
    </message>
    <message>
        <source>Copyright © 2016 The Nesdrix developers</source>
        <translation>版权所有 © 2016 Nesdrix 开发者</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>AddressCheckText</name>
    <message>
        <source>this computer</source>
        <translation>本计算机</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>it lies on no subnet of the network adapter that heard the device</source>
        <translation>它不在收到该设备应答的网络适配器的任何子网内</translation>
    </message>
    <message>
        <source>the network adapter that heard the device is gone</source>
        <translation>收到该设备应答的网络适配器已不存在</translation>
    </message>
    <message>
        <source>the system had no answer in time</source>
        <translation>系统未能及时得到答复</translation>
    </message>
    <message>
        <source>the network adapter does not resolve addresses</source>
        <translation>该网络适配器不解析地址</translation>
    </message>
    <message>
        <source>%1 was written although %2 holds it.</source>
        <translation>已写入 %1，尽管 %2 正在使用它。</translation>
    </message>
    <message>
        <source>%1 could not be checked before writing: %2.</source>
        <translation>写入前无法检查 %1：%2。</translation>
    </message>
</context>
<context>
    <name>DeviceComparisonModel</name>
    <message>
        <source>new</source>
        <translation>新增</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>已变更</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>缺失</translation>
    </message>
    <message>
        <source>In the saved list; it did not answer this scan.</source>
        <translation>在保存的列表中；本次扫描未应答。</translation>
    </message>
    <message>
        <source>Saved list: %1</source>
        <translation>保存的列表：%1</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>变化</translation>
    </message>
</context>
<context>
    <name>DeviceListModel</name>
    <message>
        <source>Shares IP address %1 with %2 (MAC %3)</source>
        <translation>与 %2（MAC %3）共用 IP 地址 %1</translation>
    </message>
    <message>
        <source>Shares MAC address %1 with %2 (IP %3)</source>
        <translation>与 %2（IP %3）共用 MAC 地址 %1</translation>
    </message>
</context>
<context>
    <name>Info</name>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>Host Name:</source>
        <translation>主机名：</translation>
    </message>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>IP地址：</translation>
    </message>
    <message>
        <source>MAC Address:</source>
        <translation>MAC地址：</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Device Type</source>
        <translation>设备类型</translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation>设备名称</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP地址</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>MAC地址</translation>
    </message>
    <message>
        <source>Net Mask</source>
        <translation>子网掩码</translation>
    </message>
    <message>
        <source>Gate Way</source>
        <translation>网关</translation>
    </message>
    <message>
        <source>Device Version</source>
        <translation>设备版本</translation>
    </message>
    <message>
        <source>PLC Points</source>
        <translation>PLC点数</translation>
    </message>
    <message>
        <source>Refresh User List</source>
        <translation>刷新设备列表</translation>
    </message>
    <message>
        <source>Get Detailed Info</source>
        <translation>获取详细信息</translation>
    </message>
    <message>
        <source>UDP port 102 could not be opened: %1

Replies from devices cannot be received until it can. If another program, or another Nesdrix, uses UDP port 102, close it. On Linux only Nesdrix&apos;s launcher may bind the port: start Nesdrix with the nesdrix command of the package. Built from source, give the launcher the privilege (sudo setcap cap_net_bind_service=ep nesdrix-launcher). Then start Nesdrix again.</source>
        <translation>无法打开UDP端口102：%1

在该端口能够打开之前，将收不到设备的应答。如果其他程序或另一个Nesdrix占用了UDP端口102，请将其关闭。在Linux下只有Nesdrix的启动器可以绑定该端口：请用软件包提供的 nesdrix 命令启动Nesdrix。从源代码构建时，请授予启动器该权限（sudo setcap cap_net_bind_service=ep nesdrix-launcher）。然后重新启动Nesdrix。</translation>
    </message>
    <message>
        <source>error!</source>
        <translation>错误！</translation>
    </message>
    <message>
        <source>No Devices!</source>
        <translation>没有设备！</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>The system gives Nesdrix %1 KiB to hold device replies, not the %2 KiB it asks for: when many devices answer a scan at once, some of them may not be listed.

To list every device, raise the limit (on Linux: sudo sysctl -w net.core.rmem_max=%3, and the same setting in a file in /etc/sysctl.d to keep it), then start Nesdrix again.</source>
        <translation>系统只给Nesdrix分配了%1 KiB用于保存设备应答，而不是所请求的%2 KiB：当大量设备同时应答扫描时，其中一些设备可能不会被列出。

要列出所有设备，请提高该限制（Linux下：执行 sudo sysctl -w net.core.rmem_max=%3，并将同样的设置写入 /etc/sysctl.d 下的一个文件以便长期生效），然后重新启动Nesdrix。</translation>
    </message>
    <message>
        <source>%1 replies left out: a scan lists at most %2 devices</source>
        <translation>%1 个应答未列出：一次扫描最多列出 %2 台设备</translation>
    </message>
    <message>
        <source>No network adapter is up: connect a cable or bring an adapter up, then press Refresh User List.</source>
        <translation>没有已启用的网络适配器：请连接网线或启用一个适配器，然后点击“刷新设备列表”。</translation>
    </message>
    <message>
        <source>The scan could not be sent (%1): check the cables and adapters, then press Refresh User List.</source>
        <translation>无法发送扫描请求（%1）：请检查网线和网络适配器，然后点击“刷新设备列表”。</translation>
    </message>
    <message>
        <source>Scanned on %1. Devices listed: %2.</source>
        <translation>已在 %1 上扫描。已列出设备：%2 台。</translation>
    </message>
    <message>
        <source>Not sent on %1.</source>
        <translation>未能在 %1 上发送。</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>筛选</translation>
    </message>
    <message>
        <source>Copy MAC Address</source>
        <translation>复制 MAC 地址</translation>
    </message>
    <message>
        <source>Copy IP Address</source>
        <translation>复制 IP 地址</translation>
    </message>
    <message>
        <source>Copy Row</source>
        <translation>复制整行</translation>
    </message>
    <message>
        <source>%1 of %2 devices shown</source>
        <translation>显示 %1 台设备，共 %2 台</translation>
    </message>
    <message>
        <source>Export List</source>
        <translation>导出列表</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>The list could not be saved as %1: %2.

Choose a folder you can write to, and a disk with free space, then export again.</source>
        <translation>列表无法保存为 %1：%2。

请选择一个可写入且磁盘有剩余空间的文件夹，然后重新导出。</translation>
    </message>
    <message>
        <source>Scanning...</source>
        <translation>正在扫描...</translation>
    </message>
    <message>
        <source>Last answer at %1; answers since the list was cleared: %2</source>
        <translation>最后一次应答：%1；自列表清空以来的应答次数：%2</translation>
    </message>
    <message>
        <source>&amp;Compare with Saved List...</source>
        <translation>与保存的列表比较(&amp;C)...</translation>
    </message>
    <message>
        <source>&amp;Stop Comparing</source>
        <translation>停止比较(&amp;S)</translation>
    </message>
    <message>
        <source>This device of the saved list did not answer the scan: it cannot be opened.</source>
        <translation>保存的列表中的此设备未应答扫描：无法打开。</translation>
    </message>
    <message>
        <source>Compare with Saved List</source>
        <translation>与保存的列表比较</translation>
    </message>
    <message>
        <source>Device lists (*.csv *.json);;All files (*)</source>
        <translation>设备列表 (*.csv *.json);;所有文件 (*)</translation>
    </message>
    <message>
        <source>%1

Choose a list that Export List or nesdrix-cli scan --format csv or json saved.</source>
        <translation>%1

请选择由“导出列表”或 nesdrix-cli scan --format csv 或 json 保存的列表。</translation>
    </message>
    <message>
        <source>%1 new, %2 changed, %3 missing</source>
        <translation>%1 个新增，%2 个已变更，%3 个缺失</translation>
    </message>
    <message>
        <source>(%1 more entries of a MAC the saved list names twice were not compared)</source>
        <translation>（保存的列表中重复出现的 MAC 另有 %1 条未比较）</translation>
    </message>
    <message>
        <source>Compared with %1</source>
        <translation>比较对象：%1</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>Host &amp;Info</source>
        <translation>主机信息(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Refresh User List</source>
        <translation>刷新设备列表(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Export List...</source>
        <translation>导出列表(&amp;E)...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>语言(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>Change IP...</source>
        <translation>修改IP...</translation>
    </message>
    <message>
        <source>Select a device in the list first (the filter may hide the one you want).</source>
        <translation>请先在列表中选择一台设备（筛选条件可能隐藏了您要找的设备）。</translation>
    </message>
    <message>
        <source>1 device written to %1</source>
        <translation>已将 1 台设备写入 %1</translation>
    </message>
    <message>
        <source>%1 devices written to %2</source>
        <translation>已将 %1 台设备写入 %2</translation>
    </message>
    <message>
        <source>No device answered on %1. Check the cable and the VLAN, that the firewall lets UDP port 102 in, and rp_filter for devices on another subnet (the README&apos;s &quot;When nothing answers&quot; explains each), then press Refresh User List.</source>
        <translation>在 %1 上没有设备应答。请检查网线和 VLAN、防火墙是否放行 UDP 端口 102，以及其他子网设备的 rp_filter 设置（README 的“When nothing answers”一节逐项说明），然后点击“刷新设备列表”。</translation>
    </message>
    <message>
        <source>Adapter</source>
        <translation>网卡</translation>
    </message>
    <message>
        <source>%1 devices share %2</source>
        <translation>%1 台设备共用 %2</translation>
    </message>
    <message>
        <source>%1 more shared addresses</source>
        <translation>另有 %1 个共用的地址</translation>
    </message>
    <message>
        <source>Flash LEDs</source>
        <translation>闪烁指示灯</translation>
    </message>
    <message>
        <source>The LEDs of %1 cannot be flashed: %2. Check the cable and that the network adapter is up.</source>
        <translation>无法使 %1 的指示灯闪烁：%2。请检查网线以及网卡是否已启用。</translation>
    </message>
    <message>
        <source>Flashing the LEDs of %1 for %2 s.</source>
        <translation>正在使 %1 的指示灯闪烁 %2 秒。</translation>
    </message>
    <message>
        <source>UDP port 102 could not be opened (%1), so no device can be listed. The README&apos;s &quot;UDP port 102&quot; tells how to get it; then press Refresh User List to try again.</source>
        <translation>无法打开 UDP 端口 102（%1），因此无法列出任何设备。README 的“UDP port 102”一节说明如何获得该端口；然后点击“刷新设备列表”重试。</translation>
    </message>
    <message>
        <source>UDP port 102 could not be opened: %1</source>
        <translation>无法打开UDP端口102：%1</translation>
    </message>
    <message>
        <source>Another program, or another Nesdrix, uses UDP port 102: close it, then start Nesdrix again.</source>
        <translation>其他程序或另一个Nesdrix占用了UDP端口102：请将其关闭，然后重新启动Nesdrix。</translation>
    </message>
    <message>
        <source>Nesdrix&apos;s launcher lacks the privilege to open the port. Installed from the package, install it again; built from source, start Nesdrix with ./scripts/run.sh, which grants it (sudo setcap cap_net_bind_service=ep nesdrix-launcher).</source>
        <translation>Nesdrix的启动器没有打开该端口的权限。从软件包安装的，请重新安装；从源代码构建的，请用 ./scripts/run.sh 启动Nesdrix，它会授予该权限（sudo setcap cap_net_bind_service=ep nesdrix-launcher）。</translation>
    </message>
    <message>
        <source>Only Nesdrix&apos;s launcher may open the port: start the program with the command the package installs (nesdrix, nesdrix-cli), or, built from source, with ./scripts/run.sh, which prepares the build&apos;s launcher.</source>
        <translation>只有Nesdrix的启动器可以打开该端口：请用软件包安装的命令（nesdrix、nesdrix-cli）启动程序；从源代码构建的，请用 ./scripts/run.sh 启动，它会准备好构建目录中的启动器。</translation>
    </message>
    <message>
        <source>Replies from devices cannot be received until it can.</source>
        <translation>在该端口能够打开之前，将收不到设备的应答。</translation>
    </message>
    <message>
        <source>New settings sent to %1: waiting for it to answer at %2...</source>
        <translation>新设置已发送给 %1：正在等待它在 %2 应答...</translation>
    </message>
    <message>
        <source>%1 answers at %2 with its new settings.</source>
        <translation>%1 已在 %2 以新设置应答。</translation>
    </message>
    <message>
        <source>%1 was not seen at %2 yet: it may still be restarting. Press Refresh User List to look again.</source>
        <translation>尚未在 %2 看到 %1：它可能仍在重启。请点击“刷新设备列表”再次查找。</translation>
    </message>
</context>
<context>
    <name>MySocket</name>
    <message>
        <source>UDP port 102 is not open, so nothing was sent</source>
        <translation>UDP端口102未打开，因此没有发送任何内容</translation>
    </message>
</context>
<context>
    <name>NeighbourTable</name>
    <message>
        <source>this system&apos;s neighbour table cannot be read yet</source>
        <translation>暂时无法读取本系统的邻居表</translation>
    </message>
</context>
<context>
    <name>ProcessDialog</name>
    <message>
        <source>scaning....</source>
        <translation>正在扫描……</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Host Info</source>
        <translation>主机信息</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>扫描</translation>
    </message>
    <message>
        <source>IP Address Error!</source>
        <translation>IP地址错误！</translation>
    </message>
    <message>
        <source>Net Mask Error!</source>
        <translation>子网掩码错误！</translation>
    </message>
    <message>
        <source>Gate Way Error!</source>
        <translation>网关错误！</translation>
    </message>
    <message>
        <source>MAC Address Error!</source>
        <translation>MAC地址错误！</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>Snapshot</name>
    <message>
        <source>a field is longer than %1 characters</source>
        <translation>某字段超过 %1 个字符</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no MAC address</source>
        <translation>“%1”不是 MAC 地址</translation>
    </message>
    <message>
        <source>the %1 &quot;%2&quot; is no IPv4 address</source>
        <translation>%1“%2”不是 IPv4 地址</translation>
    </message>
    <message>
        <source>a quoted field is not closed</source>
        <translation>带引号的字段未闭合</translation>
    </message>
    <message>
        <source>text after a quoted field</source>
        <translation>带引号的字段后有多余文本</translation>
    </message>
    <message>
        <source>a quote inside a field that is not quoted</source>
        <translation>未加引号的字段中含有引号</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>文件为空</translation>
    </message>
    <message>
        <source>the header names &quot;%1&quot; twice</source>
        <translation>表头两次出现“%1”</translation>
    </message>
    <message>
        <source>the header has no column &quot;%1&quot;: this is no saved device list</source>
        <translation>表头没有“%1”列：这不是保存的设备列表</translation>
    </message>
    <message>
        <source>%1 fields where the header has %2</source>
        <translation>有 %1 个字段，而表头有 %2 个</translation>
    </message>
    <message>
        <source>the JSON is no list of devices</source>
        <translation>该 JSON 不是设备列表</translation>
    </message>
    <message>
        <source>device %1 is no JSON object</source>
        <translation>第 %1 个设备不是 JSON 对象</translation>
    </message>
    <message>
        <source>device %1 has no text &quot;%2&quot;</source>
        <translation>第 %1 个设备没有文本“%2”</translation>
    </message>
    <message>
        <source>the text is not UTF-8</source>
        <translation>文本不是 UTF-8 编码</translation>
    </message>
    <message>
        <source>more than %1 devices</source>
        <translation>超过 %1 个设备</translation>
    </message>
    <message>
        <source>larger than %1 MiB: this is no saved device list</source>
        <translation>大于 %1 MiB：这不是保存的设备列表</translation>
    </message>
    <message>
        <source>%1: line %2: %3</source>
        <translation>%1：第 %2 行：%3</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no device type</source>
        <translation>“%1”不是设备类型</translation>
    </message>
</context>
<context>
    <name>SubDeviceInfo</name>
    <message>
        <source>PLC Info</source>
        <translation>PLC信息</translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation>设备名称</translation>
    </message>
    <message>
        <source>PLC Version</source>
        <translation>PLC版本</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP地址</translation>
    </message>
    <message>
        <source>Net Mask</source>
        <translation>子网掩码</translation>
    </message>
    <message>
        <source>Gate Way</source>
        <translation>网关</translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation>MAC地址</translation>
    </message>
    <message>
        <source>Tips: Modified to take effect after restarting the device!</source>
        <translation>提示：修改后需重启设备才能生效！</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>修改</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>The device&apos;s LEDs cannot be flashed: %1. Check the cable and that the network adapter is up.</source>
        <translation>无法让设备的指示灯闪烁：%1。请检查网线以及网络适配器是否已启用。</translation>
    </message>
    <message>
        <source>The new settings could not be sent to the device: %1

Check the cable and that the network adapter is up, then press Modify again.</source>
        <translation>无法将新设置发送到设备：%1

请检查网线以及网络适配器是否已启用，然后再次点击“修改”。</translation>
    </message>
    <message>
        <source>Sort this out before you write new settings:</source>
        <translation>写入新设置前请先解决此问题：</translation>
    </message>
    <message>
        <source>Checking that %1 is free...</source>
        <translation>正在检查 %1 是否空闲...</translation>
    </message>
    <message>
        <source>Address in Use</source>
        <translation>地址已被占用</translation>
    </message>
    <message>
        <source>%1 is already in use by %2.

Two devices with one address disturb each other and can stop the line. Write the address anyway?</source>
        <translation>%1 已被 %2 占用。

两台设备使用同一地址会互相干扰，并可能导致产线停机。仍要写入该地址吗？</translation>
    </message>
    <message>
        <source>Write Anyway</source>
        <translation>仍然写入</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
</TS>
