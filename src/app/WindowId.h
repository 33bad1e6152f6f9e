#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rsgz::app {

// The modal windows that buttons, menus and record rules open. Each has one identity; its caption
// (the title it shows, and the text of the menu entry or button that opens it) is written once,
// beside the identity in WindowId.cpp. Add a window here and register its opener in src/shell.
enum class WindowId {
    // The system group and the program's maintenance.
    About,
    Company,
    Rights,
    Backup,
    Restore,
    CompactDatabase,
    InitializeData,
    InitializeConfirmation,
    DatabaseMigration,
    // Look-up lists and settings.
    Dictionary,
    BasicSettings,
    DepartmentEditor,
    TodayDate,
    WomenRetirementAge,
    // The employee window and the records kept about each employee.
    EmployeeInfo,
    Resume,
    Relations,
    Certificates,
    SalaryChanges,
    TrainingRecords,
    TransferRecords,
    RewardRecords,
    ArticleRecords,
    PrintContent,
    OnePersonTraining,
    IssueToOnePerson,
    // The personnel modules' own windows.
    TrainingManagement,
    TitleManagement,
    RewardManagement,
    TransferManagement,
    EvaluationManagement,
    ArticleManagement,
    IssueEditor,
    // Pickers.
    PickName,
    PickApprover,
    PickHandler,
    PickRewarded,
    PickEvaluated,
    PickTitled,
    PickTransferred,
    PickTrainees,
    PickIssueEmployees,
    PickEvaluationEmployees,
    PickArticle,
    PickCourse,
    // Queries.
    EmployeeQuery,
    TrainingQuery,
    TitleQuery,
    RewardQuery,
    TransferQuery,
    EvaluationQuery,
    ArticleQuery,
    QueryFields,
    BatchChange,
    // Printing.
    EmployeeCard,
    PrintEmployees,
    PrintTraining,
    PrintTitles,
    PrintRewards,
    PrintTransfers,
    PrintEvaluations,
    PrintArticles,
    PrintSalaryTable,
    PrintPayslips,
    PrintRange,
    ReportPreview,
    ReportDesigner,
    // Exchange with other files.
    ImportExcel,
    ImportAccess,
    ExportExcel,
    // Payroll, tax and the bank.
    PayrollSetData,
    SalaryItems,
    SalaryItemValues,
    IncomeTaxSettings,
    NewSalaryTable,
    SalaryCard,
    PieceWorkEditor,
    TimeWorkEditor,
    TaxDeductions,
    TaxLedger,
    ContributionSchemes,
    ContributionBases,
    WithholdingDeclaration,
    BankFile,
    BankLayout,
};

// The caption of a window.
const std::string& windowCaption(WindowId id);
// The window a caption names; nothing for a caption no window has (menu texts that run a step,
// captions of windows registered the old way).
std::optional<WindowId> windowIdOf(std::string_view caption);
// The window a caption of the program's own tables names (an editor's, a picker's, a query's);
// throws std::logic_error for a caption no window has, a mistake the registrations show at once.
WindowId requireWindowId(std::string_view caption);
// Every identity, in the order above.
const std::vector<WindowId>& allWindowIds();

}  // namespace rsgz::app
