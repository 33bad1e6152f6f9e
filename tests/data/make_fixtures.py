#!/usr/bin/env python3
"""Makes the small import fixtures: employees.xlsx (written here part by part), employees.xls (converted from it
by LibreOffice, when soffice is there) and employees.csv (GBK). All three hold the same three employees:
Chinese headings, text, numbers (an eleven-digit mobile number, decimals), dates and one empty cell.
Run it in tests/data; the files it makes are committed, so the tests need neither it nor LibreOffice."""
import datetime
import os
import shutil
import subprocess
import tempfile
import zipfile

HEADING = ["员工编号", "姓名", "性别", "出生年月", "身高", "体重", "手机", "备注"]
ROWS = [
    ["A001", "张三", "男", datetime.date(1985, 3, 12), 1.75, 70, 13800138000, "老员工"],
    ["A002", "李四", "女", datetime.date(1990, 11, 2), 1.6, 52, 13912345678, None],
    ["A003", "王五", "男", datetime.date(2001, 1, 31), 1.82, 80, 15000000001, "技术骨干"],
]


def serial(d):
    return (d - datetime.date(1899, 12, 30)).days


def col(i):
    return "ABCDEFGHIJ"[i]


def xlsx(path):
    strings = []

    def shared(text):
        if text not in strings:
            strings.append(text)
        return strings.index(text)

    def cell(ref, v, row_index):
        if v is None:
            return ""
        if isinstance(v, datetime.date):
            # The first date uses a built-in date format, the others a format of the workbook's own.
            style = 1 if row_index == 0 else 2
            return f'<c r="{ref}" s="{style}"><v>{serial(v)}</v></c>'
        if isinstance(v, (int, float)):
            return f'<c r="{ref}"><v>{v}</v></c>'
        if ref.startswith("H"):  # the remarks as inline strings, the rest shared
            return f'<c r="{ref}" t="inlineStr"><is><t>{v}</t></is></c>'
        return f'<c r="{ref}" t="s"><v>{shared(v)}</v></c>'

    rows_xml = ['<row r="1">' + "".join(f'<c r="{col(i)}1" t="s"><v>{shared(h)}</v></c>' for i, h in enumerate(HEADING)) + "</row>"]
    for r, row in enumerate(ROWS):
        n = r + 2
        rows_xml.append(f'<row r="{n}">' + "".join(cell(f"{col(i)}{n}", v, r) for i, v in enumerate(row)) + "</row>")
    ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
    rel = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
    parts = {
        "[Content_Types].xml": '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/>'
        '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
        '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
        '<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>'
        '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>'
        "</Types>",
        "_rels/.rels": '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>'
        "</Relationships>",
        "xl/workbook.xml": f'<?xml version="1.0" encoding="UTF-8"?><workbook {ns} {rel}><sheets>'
        '<sheet name="人员名单" sheetId="1" r:id="rId1"/></sheets></workbook>',
        "xl/_rels/workbook.xml.rels": '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>'
        '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>'
        '<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>'
        "</Relationships>",
        "xl/styles.xml": f'<?xml version="1.0" encoding="UTF-8"?><styleSheet {ns}>'
        '<numFmts count="1"><numFmt numFmtId="164" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/></numFmts>'
        '<fonts count="1"><font><sz val="11"/><name val="宋体"/></font></fonts>'
        '<fills count="1"><fill><patternFill patternType="none"/></fill></fills>'
        '<borders count="1"><border/></borders>'
        '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
        '<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
        '<xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
        '<xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs>'
        "</styleSheet>",
        "xl/worksheets/sheet1.xml": f'<?xml version="1.0" encoding="UTF-8"?><worksheet {ns}><sheetData>' + "".join(rows_xml) + "</sheetData></worksheet>",
    }
    # The shared strings last: the sheet above filled them.
    parts["xl/sharedStrings.xml"] = (f'<?xml version="1.0" encoding="UTF-8"?><sst {ns} count="{len(strings)}" uniqueCount="{len(strings)}">'
                                     + "".join(f"<si><t>{s}</t></si>" for s in strings) + "</sst>")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, text in parts.items():
            z.writestr(name, text.encode("utf-8"))


def text(v):
    if v is None:
        return ""
    if isinstance(v, datetime.date):
        return v.isoformat()
    return str(v)


def csv(path):
    lines = [",".join(HEADING)] + [",".join(text(v) for v in row) for row in ROWS]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("gbk"))


def xls(source, path):
    if not shutil.which("soffice"):
        print("soffice not found: employees.xls left as it is")
        return
    with tempfile.TemporaryDirectory() as out:
        subprocess.run(["soffice", "--headless", "--convert-to", "xls", "--outdir", out, source], check=True)
        shutil.move(os.path.join(out, os.path.splitext(os.path.basename(source))[0] + ".xls"), path)


if __name__ == "__main__":
    xlsx("employees.xlsx")
    csv("employees.csv")
    xls("employees.xlsx", "employees.xls")
