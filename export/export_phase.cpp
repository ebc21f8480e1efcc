#include "export/export_phase.h"

#include "api/hotsync_api.h"
#include "exchange/client_dataset.h"
#include "exchange/txt_table.h"
#include "export/category_step.h"
#include "export/common_steps.h"
#include "export/customer_product_steps.h"
#include "export/document_route_steps.h"
#include "palmdb/palm_catalogue.h"

void RunExportPhase(TExchangeSession& session) {
  TPalmCatalogue catalogue;
  TcsTXTTable text_table([&session](const std::string& text, const std::string& caption) {
    session.MessageBox(text, caption, MB_OK | MB_ICONERROR);
  });
  TClientDataSet packet_table;
  TExportContext context{session, catalogue, TReferenceReader(session, text_table, packet_table)};

  RunReferenceStep(context, kTypePaymentStep);
  RunReferenceStep(context, kTypePriceStep);
  RunReferenceStep(context, kCurrencyStep);
  RunReferenceStep(context, kCurrencyCursStep);
  ExportNoteLists(context);
  RunReferenceStep(context, kCustomerStep);
  TCategoryTree tree = BuildCategoryTree(context);
  ExportProducts(context, tree);
  ExportCategories(context, tree);
  RunReferenceStep(context, kDocumentStep);
  ExportRoutes(context);
  RunReferenceStep(context, kTradeAgentStep);
}
