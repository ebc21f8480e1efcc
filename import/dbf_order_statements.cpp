#include "import/dbf_order_statements.h"

std::vector<std::vector<std::string>> DbfOrderTableCreations(bool foxpro, const std::string& exchange_directory) {
  if (!foxpro) {
    return {
        {"Create table \"orders.dbf\" (Idorder Char(15),Iditem Char(15), OrderDate Char(15),DelivDate Char(15), "
         "IdCustomer Char(15), IdPayment Char(15), Total Char(18),CountRow Char(15),IdPrice Char(15),Discount "
         "Char(15), Prim Char(200), OrderTime Char(10),",
         "Note1 Char(200),Note2 Char(200))"},
        {"Create table \"order.dbf\" (id integer,IdCustomer integer, OrderDate Date, DelivDate Date, IDPAYMENT "
         "integer, Countrow Integer, NPrice Integer, Discount Float, Total Float, Prim char(200), OrderTime "
         "Char(10),Note1 Char(200),Note2 Char(200))"},
        {"Create table \"orderitem.dbf\" (idorder integer,IdProduct Integer, Quantity Float, Price Float)"},
    };
  }
  const std::string create = "Create table \"" + exchange_directory;
  return {
      {create + "orders.dbf\" (Idorder Char(15),Iditem Char(15), OrderDate Char(15),DelivDate Char(15), IdCustomer "
                "Char(15), IdPayment Char(15), Total Char(18),CountRow Char(15),IdPrice Char(15),Discount Char(15), "
                "Prim Char(200), OrderTime Char(10), ",
       " Note1 Char(200), Note2 Char(200))"},
      {create + "order.dbf\" (id integer,IdCustomer integer, OrderDate Date, DelivDate Date, IDPAYMENT integer, "
                "Countrow Integer, NPrice Integer, Discount Numeric(15,3), Total Numeric(15,3),Prim char(200), "
                "OrderTime Char(10),Note1 Char(200),Note2 Char(200))"},
      {create + "orderitem.dbf\" (idorder integer,IdProduct Integer, Quantity Numeric(15,3), Price Numeric(15,3))"},
  };
}

const TLiveQueryTexts& CombinedOrdersQueryTexts() {
  static const TLiveQueryTexts texts{
      {"select * from \"orders.dbf\""},
      {"insert into  \"orders.dbf\" (idOrder, IdItem,IdCustomer, OrderDate, DelivDate, IDPAYMENT, Countrow, "
       "IdPrice, Discount,Total,Prim,OrderTime,Note1,Note2)",
       " values (:idOrder,:IdItem,:IdCustomer, :OrderDate, :DelivDate, :IDPAYMENT, :Countrow, :IdPrice, "
       ":Discount,:Total,:Prim,:OrderTime,:Note1,:Note2)"}};
  return texts;
}

const TLiveQueryTexts& OrderHeadersQueryTexts() {
  static const TLiveQueryTexts texts{
      {"select * from \"order.dbf\""},
      {"insert into  \"order.dbf\" (id,IdCustomer, OrderDate, DelivDate, IDPAYMENT, Countrow, NPrice, "
       "Discount,Total,Prim,OrderTime,Note1,Note2)",
       "  values (:id,:IdCustomer, :OrderDate, :DelivDate, :IDPAYMENT, :Countrow, :NPrice, "
       ":Discount,:Total,:Prim,:OrderTime,:Note1,:Note2)"}};
  return texts;
}

const TLiveQueryTexts& OrderLinesQueryTexts() {
  static const TLiveQueryTexts texts{{"select * from \"orderitem.dbf\""},
                                     {"insert into  \"orderItem.dbf\" (IdOrder,IdProduct,Quantity,Price) values "
                                      "(:idOrder,:IdProduct,:Quantity,:Price)"}};
  return texts;
}
