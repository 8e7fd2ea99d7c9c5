#!/usr/bin/python3
"""Writes a project workbook the way another program would, with Debian's
openpyxl: the sheets in another order, columns in another order and with
extra ones, empty rows (one of blanks), inline strings, numbers stored as "3.0", blank cells.

    write_workbook.py good|bad|net-good|net-bad OUT.xlsx

A Vantor workbook, or with "net-" a VantorNet one. "bad" puts a date (and
for Vantor a formula) where numbers belong and adds a slave or server that
no project can have; "net-bad" also names a server no sheet has.""" 
import datetime
import re
import sys
import zipfile

import openpyxl


def sheet(book, name, header, rows):
    ws = book.create_sheet(name)
    ws.append(header)
    for r in rows:
        ws.append(r)
    return ws


def net_sheets(book, bad):
    """A VantorNet workbook: no 节点 sheet, IP texts as typed, blank cells
    taking the dialogs' defaults and proposals."""
    sheet(book, "命令", ["备注", "功能", "IP地址", "端口号", "从站MOD地址", "节点MOD地址", "MODBUS地址", "起始地址",
                       "长度", "网关地址", "数变即发", "注释"], [
        ["x", "读4区 03H", "192.168.0.21", None, None, None, None, 0.0, 10.0, None, None, "中文注释 <&>"],
        [None] * 12,
        [" ", "  ", " ", None, None, None, None, None, None, None, None, None],
        ["", "写4区 06H 写单字", "192.168.0.22", 502, 1, None, 4, datetime.date(2020, 1, 2) if bad else 5, None,
         None, "是", None],
    ] + ([["", "读0区 01H", "192.168.0.23", 70000, None, None, None, 0, 8, None, None, None],
          ["", "读0区 01H", "10.0.0.1", None, None, None, None, 0, 8, None, None, None]] if bad else []))
    sheet(book, "从站", ["IP地址", "设备名称", "端口号", "从站MOD地址"], [
        ["192.168.000.021", "泵站", 502.0, 1.0],
        ["192.168.0.22", None, None, None],
    ] + ([["192.168.0.23", "", 70000]] if bad else []))
    sheet(book, "网关", ["工作模式", "网关型号"], [["tcp-master+rtu-master", "LNK-P1-1.0"]])
    sheet(book, "串口", ["MODBUS地址", "串口", "波特率"], [[20.0, "COM1", "115.2k"]])


def main(mode, out):
    bad = mode.endswith("bad")
    book = openpyxl.Workbook()
    book.remove(book.active)
    if mode.startswith("net-"):
        net_sheets(book, bad)
    else:
        vantor_sheets(book, bad)
    book.save(out)
    # Numbers as some programs store them: "3.0" rather than "3".
    with zipfile.ZipFile(out) as z:
        parts = {n: z.read(n) for n in z.namelist()}
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in parts.items():
            if name.startswith("xl/worksheets/"):
                data = re.sub(rb"<v>(-?\d+)</v>", rb"<v>\1.0</v>", data)
            z.writestr(name, data)


def vantor_sheets(book, bad):
    # A sheet with a column of its own has every column of the layout (an
    # unknown header beside a missing column is refused as misspelt); one
    # without leaves columns out.
    sheet(book, "命令", ["备注", "功能", "从站地址", "串口", "长度", "起始地址", "网关地址", "数变即发", "注释",
                       "同时映射到遥信数据区"], [
        ["x", "读4区 03H", 1.0, "COM1", "=2+3" if bad else 10.0, 0.0, None, None, None],
        [None, None, None, None, None, None, None, None, None],
        ["", "写4区 06H 写单字", 2, "COM1", None, 5, 100, "是", None],
        ["  ", "  ", None, " ", None, None, None, None, None],
        ["", "读0区 01H", 3, "COM2", 16, 0, None, None, "中文注释 <&>"],
    ])
    sheet(book, "从站", ["串口", "设备名称", "从站地址", "应答超时时间", "序号", "报文发送延时", "配置字",
                       "位置X", "位置Y"], [
        ["COM1", "温度表", 1.0, 700.0, 1],
        ["COM1", None, None, None, 2],
        [],
        ["COM2", "液位计", 3, datetime.date(2020, 1, 2) if bad else None, 3],
    ] + ([["COM2", "", 300]] if bad else []))
    sheet(book, "网关", ["寻址方式", "网关型号"], [["MODBUS数据区寻址", "KX-P2R0-1.0"]])
    sheet(book, "串口", ["停止位", "串口", "波特率", "校验位", "从站时间间隔"], [
        ["1位", "COM1", "19200", "无校验", 50.0],
        [None, "COM2", None, None, None],
    ])


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
