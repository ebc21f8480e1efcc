#include "import/questionnaire_tables.h"

namespace {

using enum TQuestionnaireValueKind;

}  // namespace

const TQuestionnaireTableDef kAnswerTable{&TPalmCatalogue::ptAnswer,
                                          {"select * from Answer"},
                                          {"insert into  Answer (KPK, Id,IdQUEST,IdCustomer,DateAnswer, TimeAnswer)",
                                           " values (:KPK, :Id,:IdQUEST,:IdCustomer,:DateAnswer, :TimeAnswer)"},
                                          {{"Id", "ID", Integer},
                                           {"IdQUEST", "IDQUEST", Integer},
                                           {"IdCustomer", "IDCustomer", Integer},
                                           {"DateAnswer", "DateAnswer", Date},
                                           {"TimeAnswer", "TimeAnswer", Integer}}};

const TQuestionnaireTableDef kAnswerItemTable{&TPalmCatalogue::ptAnswerItem,
                                              {"select * from AnswerItem"},
                                              {"insert into  AnswerItem (KPK, Id,IdAnswer,IdQuestItem,AnswerValue)",
                                               " values (:KPK, :Id,:IdAnswer,:IdQuestItem,:AnswerValue)"},
                                              {{"Id", "ID", Integer},
                                               {"IdAnswer", "IDANSWER", Integer},
                                               {"IdQuestItem", "IDQUESTItem", Integer},
                                               {"ANSWERVALUE", "ANSWERVALUE", Text}}};

const TQuestionnaireTableDef kQuestTable{
    &TPalmCatalogue::ptQuest, {"select * from Quest order by id"}, {}, {{"Id", "ID", Integer}, {"Name", "Name", Text}}};

const TQuestionnaireTableDef kQuestItemTable{&TPalmCatalogue::ptQuestItem,
                                             {"select * from QuestItem order by idQuest,Id"},
                                             {},
                                             {{"Id", "ID", Integer},
                                              {"IdQuest", "IDQuest", Integer},
                                              {"Msg1", "Msg1", Text},
                                              {"Msg2", "Msg2", Text},
                                              {"Msg3", "Msg3", Text},
                                              {"Msg4", "Msg4", Text},
                                              {"Msg5", "Msg5", Text},
                                              {"QuestType", "QuestType", Text}}};
