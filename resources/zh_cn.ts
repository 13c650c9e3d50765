<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>MainWindow</name>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MAC Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Net Mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gate Way</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PLC Points</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh User List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Detailed Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UDP port 102 could not be opened: %1

Replies from devices cannot be received until it can. Close any other program that uses UDP port 102, or give Nesdrix the privilege to bind it (on Linux: sudo setcap cap_net_bind_service=+ep on the program file), then start Nesdrix again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Host Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scan</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Net Mask Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gate Way Error!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MAC Address Error!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SubDeviceInfo</name>
    <message>
        <source>PLC Info</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
