-- The accounting system's answers database: questionnaires for the handhelds, and the answers
-- they send back, one row per handheld (KPK) and answer.
CREATE TABLE Answer (KPK TEXT, Id INTEGER, IdQUEST INTEGER, IdCustomer INTEGER, DateAnswer DATE, TimeAnswer INTEGER);
CREATE TABLE AnswerItem (KPK TEXT, Id INTEGER, IdAnswer INTEGER, IdQuestItem INTEGER, AnswerValue TEXT);
CREATE TABLE Quest (ID INTEGER PRIMARY KEY, Name TEXT);
CREATE TABLE QuestItem (ID INTEGER PRIMARY KEY, IDQuest INTEGER, Msg1 TEXT, Msg2 TEXT, Msg3 TEXT, Msg4 TEXT, Msg5 TEXT, QuestType TEXT);
INSERT INTO Quest VALUES (2, 'Конкуренты');
INSERT INTO Quest VALUES (1, 'Выкладка товара');
INSERT INTO Quest VALUES (3, 'Новинки');
INSERT INTO QuestItem VALUES (31, 3, 'Взяли ли новинку в ассортимент?', 'Да', 'Нет', 'Подумают', '', '1');
INSERT INTO QuestItem VALUES (12, 1, 'Где стоит товар?', '', '', '', '', '2');
INSERT INTO QuestItem VALUES (21, 2, 'Сколько конкурентов на полке?', '', '', '', '', '2');
INSERT INTO QuestItem VALUES (11, 1, 'Есть ли наш товар на полке?', 'Да', 'Нет', '', '', '1');
INSERT INTO QuestItem VALUES (13, 1, 'Хватает ли ценников?', 'Да', 'Нет', '', '', '1');
