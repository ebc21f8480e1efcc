#!/usr/bin/python3
"""Peer checks of the ODBC drivers: programs nobody here wrote talk to them and read their files.

Usage: peer_check.py CHECK WORK_DIR, CHECK one of pyodbc, dbfread, ogrinfo, sqlite3, isql.
Exit code 77 means the peer is not installed (the check is skipped)."""
import os
import shutil
import subprocess
import sys

SKIP = 77
VFP = "Microsoft FoxPro VFP Driver (*.dbf)"
DBASE = "Microsoft dBase Driver (*.dbf)"
ACCESS = "Microsoft Access Driver (*.mdb)"
NOTE = "Примечание к заказу"


def need_module(name):
    try:
        return __import__(name)
    except ImportError:
        print(f"{name} is not installed")
        sys.exit(SKIP)


def need_program(name):
    path = shutil.which(name)
    if path is None:
        print(f"{name} is not installed")
        sys.exit(SKIP)
    return path


def fresh_directory(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path.rstrip("/") + "/"


def vfp_connection(directory):
    return (f"DRIVER={VFP};SourceDB={directory};SourceType=DBF;Exclusive=No;BackgroundFetch=Yes;Collate=RUSSIAN")


def dbase_connection(directory):
    return (f"DRIVER={DBASE};DefaultDir={directory};SourceDB={directory};SourceType=DBF;Exclusive=No;"
            "BackgroundFetch=Yes;FIL=dBase III;DriverId=21;MaxBufferSize=2048;PageTimeout=5")


def answers_connection(path):
    return f"DRIVER={ACCESS};DriverId=25;MaxBufferSize=2048;PageTimeout=5;DBQ={path};FIL=MS Access"


def connect(pyodbc, text, autocommit):
    connection = pyodbc.connect(text, autocommit=autocommit)
    connection.setdecoding(pyodbc.SQL_CHAR, encoding="cp1251")
    connection.setencoding(encoding="cp1251")
    return connection


def write_orders(directory):
    """The three order tables of the FoxPro family, written as the conduit writes them."""
    pyodbc = need_module("pyodbc")
    import datetime
    connection = connect(pyodbc, vfp_connection(directory), autocommit=False)
    cursor = connection.cursor()
    cursor.execute('Create table "' + directory + 'orders.dbf" (Idorder Char(15),Iditem Char(15), OrderDate '
                   'Char(15),DelivDate Char(15), IdCustomer Char(15), IdPayment Char(15), Total Char(18),CountRow '
                   'Char(15),IdPrice Char(15),Discount Char(15), Prim Char(200), OrderTime Char(10), \r\n'
                   ' Note1 Char(200), Note2 Char(200))')
    cursor.execute('Create table "' + directory + 'order.dbf" (id integer,IdCustomer integer, OrderDate Date, '
                   'DelivDate Date, IDPAYMENT integer, Countrow Integer, NPrice Integer, Discount Numeric(15,3), '
                   'Total Numeric(15,3),Prim char(200), OrderTime Char(10),Note1 Char(200),Note2 Char(200))')
    cursor.execute('Create table "' + directory + 'orderitem.dbf" (idorder integer,IdProduct Integer, '
                   'Quantity Numeric(15,3), Price Numeric(15,3))')
    cursor.execute('insert into  "order.dbf" (id,IdCustomer, OrderDate, DelivDate, IDPAYMENT, Countrow, NPrice, '
                   'Discount,Total,Prim,OrderTime,Note1,Note2)\r\n  values (?,?, ?, ?, ?, ?, ?, ?,?,?,?,?,?)',
                   5, 42, datetime.date(2024, 3, 5), datetime.date(2024, 3, 6), 1, 1, 2, 0.0, 25.0, NOTE,
                   "10:15", "", "")
    cursor.execute('insert into  "orderItem.dbf" (IdOrder,IdProduct,Quantity,Price) values (?,?,?,?)',
                   5, 101, 2.5, 10.0)
    connection.commit()
    cursor.execute('insert into  "orders.dbf" (idOrder, IdItem,IdCustomer, OrderDate, DelivDate, IDPAYMENT, '
                   'Countrow, IdPrice, Discount,Total,Prim,OrderTime,Note1,Note2)\r\n values (?,?,?, ?, ?, ?, ?, '
                   '?, ?,?,?,?,?,?)', "5", "0", "42", "05.03.2024", "06.03.2024", "1", "1", "2", "0.00", "25.00",
                   NOTE, "10:15", "", "")
    connection.commit()
    connection.close()


def check_pyodbc(work):
    pyodbc = need_module("pyodbc")
    directory = fresh_directory(os.path.join(work, "vfp"))
    write_orders(directory)
    connection = connect(pyodbc, vfp_connection(directory), autocommit=True)
    rows = connection.cursor().execute('select * from "order.dbf"\r\nOrder by Id').fetchall()
    assert len(rows) == 1 and rows[0].id == 5 and rows[0].Prim == NOTE, rows
    assert str(rows[0].OrderDate) == "2024-03-05", rows[0].OrderDate

    directory = fresh_directory(os.path.join(work, "dbase"))
    connection = connect(pyodbc, dbase_connection(directory), autocommit=True)
    cursor = connection.cursor()
    cursor.execute('Create table "orderitem.dbf" (idorder integer,IdProduct Integer, Quantity Float, Price Float)')
    cursor.execute('insert into  "orderItem.dbf" (IdOrder,IdProduct,Quantity,Price) values (?,?,?,?)', 7, 3, 1.5, 2.25)
    rows = cursor.execute('select * from "orderitem.dbf"\r\nOrder by IdOrder').fetchall()
    assert [tuple(float(v) for v in row) for row in rows] == [(7, 3, 1.5, 2.25)], rows

    answers = make_answers_database(os.path.join(work, "answers"))
    connection = connect(pyodbc, answers_connection(answers), autocommit=True)
    insert_answers(connection)
    items = connection.cursor().execute("select * from QuestItem order by idQuest,Id").fetchall()
    assert [row.ID for row in items] == [9, 1, 3], items
    assert items[1].Msg1 == "Первый", items[1].Msg1
    quests = connection.cursor().execute("select * from Quest order by id").fetchall()
    assert [row.Name for row in quests] == ["Анкета", "Опрос"], quests


def make_answers_database(directory):
    directory = fresh_directory(directory)
    path = directory + "answer.mdb"
    import sqlite3
    database = sqlite3.connect(path)
    database.executescript("""
        CREATE TABLE Answer (KPK TEXT, Id INTEGER, IdQUEST INTEGER, IdCustomer INTEGER, DateAnswer DATE,
                             TimeAnswer INTEGER);
        CREATE TABLE AnswerItem (KPK TEXT, Id INTEGER, IdAnswer INTEGER, IdQuestItem INTEGER, AnswerValue TEXT);
        CREATE TABLE Quest (ID INTEGER, Name TEXT);
        CREATE TABLE QuestItem (ID INTEGER, IDQuest INTEGER, Msg1 TEXT, Msg2 TEXT, Msg3 TEXT, Msg4 TEXT,
                                Msg5 TEXT, QuestType TEXT);
        INSERT INTO Quest VALUES (2, 'Опрос'), (1, 'Анкета');
        INSERT INTO QuestItem VALUES (3, 2, 'Вопрос', '', '', '', '', 'Y'), (1, 2, 'Первый', '', '', '', '', 'N'),
                                     (9, 1, 'Other', '', '', '', '', 'N');
    """)
    database.close()
    return path


def insert_answers(connection):
    import datetime
    cursor = connection.cursor()
    cursor.execute("insert into  Answer (KPK, Id,IdQUEST,IdCustomer,DateAnswer, TimeAnswer)\r\n"
                   " values (?, ?,?,?,?, ?)", "АГЕНТ7", 1, 2, 42, datetime.date(2024, 3, 5), 930)
    cursor.execute("insert into  AnswerItem (KPK, Id, IdAnswer, IdQuestItem, AnswerValue)\r\n"
                   " values (?, ?, ?, ?, ?)", "АГЕНТ7", 1, 1, 3, "Да, конечно")


def check_dbfread(work):
    dbfread = need_module("dbfread")
    directory = fresh_directory(os.path.join(work, "dbfread"))
    write_orders(directory)
    orders = list(dbfread.DBF(directory + "order.dbf"))
    assert len(orders) == 1, orders
    order = orders[0]
    assert order["id"] == 5 and order["Prim"] == NOTE, order
    import datetime
    assert order["OrderDate"] == datetime.date(2024, 3, 5), order
    assert float(order["Total"]) == 25.0
    lines = list(dbfread.DBF(directory + "orderitem.dbf"))
    assert float(lines[0]["Quantity"]) == 2.5 and float(lines[0]["Price"]) == 10.0, lines
    combined = list(dbfread.DBF(directory + "orders.dbf"))
    assert combined[0]["Prim"] == NOTE and combined[0]["OrderDate"] == "05.03.2024", combined


def check_ogrinfo(work):
    ogrinfo = need_program("ogrinfo")
    directory = fresh_directory(os.path.join(work, "ogrinfo"))
    write_orders(directory)
    output = subprocess.run([ogrinfo, "-al", "-q", directory + "order.dbf"], capture_output=True, check=True).stdout
    text = output.decode("utf-8")
    assert "Prim (String) = " + NOTE in text, text
    assert "OrderDate (Date) = 2024/03/05" in text, text
    assert "Total (Real) = 25.000" in text, text


def check_sqlite3(work):
    pyodbc = need_module("pyodbc")
    shell = need_program("sqlite3")
    answers = make_answers_database(os.path.join(work, "sqlite3"))
    # pyodbc's own default: texts sent as wide characters, which the driver takes to Windows-1251.
    connection = pyodbc.connect(answers_connection(answers), autocommit=True)
    connection.setdecoding(pyodbc.SQL_CHAR, encoding="cp1251")
    insert_answers(connection)
    connection.close()
    output = subprocess.run([shell, answers, "SELECT KPK, Id, DateAnswer, TimeAnswer FROM Answer; "
                             "SELECT AnswerValue FROM AnswerItem;"], capture_output=True, check=True).stdout
    assert output.decode("utf-8") == "АГЕНТ7|1|2024-03-05|930\nДа, конечно\n", output


def check_isql(work):
    isql = need_program("isql")
    directory = fresh_directory(os.path.join(work, "isql"))
    write_orders(directory)
    result = subprocess.run([isql, "-k", vfp_connection(directory), "-b", "-d|"],
                            input=b'select * from "orderitem.dbf"\n', capture_output=True, check=True)
    assert b"5|101|2.5|10" in result.stdout, result.stdout + result.stderr


CHECKS = {"pyodbc": check_pyodbc, "dbfread": check_dbfread, "ogrinfo": check_ogrinfo, "sqlite3": check_sqlite3,
          "isql": check_isql}

if __name__ == "__main__":
    CHECKS[sys.argv[1]](sys.argv[2])
    print(sys.argv[1], "read what our drivers wrote")
