#pragma once

// Two tables, a form, a report and a codeunit around customers, in the export's layout (LF line
// ends; load it through LoadedExport). Table 18, Form 18 and Report 18 share their number.
inline const char* const kCustomerExport = R"EXPORT(OBJECT Table 18 Customer
{
  OBJECT-PROPERTIES
  {
    Date=01.01.08;
    Time=12:00:00;
  }
  PROPERTIES
  {
  }
  FIELDS
  {
    { 1   ;   ;No.                 ;Code20         }
    { 2   ;   ;Name                ;Text50         }
    { 59  ;   ;Balance             ;Decimal       ;FieldClass=FlowField;
                                                   CalcFormula=Sum("Cust. Ledger Entry".Amount WHERE (Customer No.=FIELD(No.))) }
    { 60  ;   ;Entry Count         ;Integer       ;FieldClass=FlowField;
                                                   CalcFormula=Count("Cust. Ledger Entry" WHERE (Customer No.=FIELD(No.))) }
    { 61  ;   ;Zzyzx Flag          ;Boolean        }
  }
  KEYS
  {
    {    ;No.                                     ;Clustered=Yes }
    {    ;Name                                     }
  }
  CODE
  {

    BEGIN
    END.
  }
}

OBJECT Table 21 Cust. Ledger Entry
{
  OBJECT-PROPERTIES
  {
    Date=01.01.08;
    Time=12:00:00;
  }
  PROPERTIES
  {
  }
  FIELDS
  {
    { 1   ;   ;Entry No.           ;Integer        }
    { 3   ;   ;Customer No.        ;Code20         }
    { 4   ;   ;Posting Date        ;Date           }
    { 13  ;   ;Amount              ;Decimal        }
    { 14  ;   ;Remaining Amount    ;Decimal        }
    { 18  ;   ;Sales (LCY)         ;Decimal        }
    { 19  ;   ;Profit (LCY)        ;Decimal        }
    { 20  ;   ;Inv. Discount (LCY) ;Decimal        }
  }
  KEYS
  {
    {    ;Entry No.                               ;Clustered=Yes }
    {    ;Customer No.,Posting Date               ;SumIndexFields=Amount,Remaining Amount,Sales (LCY),Profit (LCY) }
    { No ;Posting Date                            ;SumIndexFields=Inv. Discount (LCY) }
  }
  CODE
  {

    BEGIN
    END.
  }
}

OBJECT Form 18 Customer List
{
  OBJECT-PROPERTIES
  {
    Date=01.01.08;
    Time=12:00:00;
  }
  PROPERTIES
  {
    Width=9000;
    Height=6000;
    SourceTable=Table18;
    OnOpenForm=BEGIN
                 SetupDone := TRUE;
               END;

  }
  CONTROLS
  {
    { 1   ;TabControl   ;220  ;220  ;8000 ;5000 ;HorzGlue=Both;
                                                 PageNamesML=[ENU=General,Invoicing,Shipping;
                                                              DEU=Allgemein,Fakturierung] }
    { 2   ;TextBox      ;3300 ;770  ;1700 ;440  ;ParentControl=1;
                                                 InPage=0;
                                                 SourceExpr="No." }
    { 5   ;Label        ;220  ;770  ;3000 ;440  ;ParentControl=2 }
    { 5   ;CheckBox     ;220  ;1320 ;3000 ;440  ;SourceExpr=Blocked }
    { 6   ;TabControl   ;220  ;5500 ;8000 ;400  ;PageNamesML=[ENU=,Lines;
                                                              DEU=Kopf,] }
  }
  CODE
  {
    VAR
      SetupDone@1000 : Boolean;
      Cust@1001 : Record 18;

    PROCEDURE Refresh@1();
    VAR
      Cust@1000 : Record 18;
    BEGIN
      Cust.GET;
    END;

    LOCAL PROCEDURE Check@1();
    BEGIN
      MESSAGE('x');
    END;

    BEGIN
    END.
  }
}

OBJECT Report 18 Customer Sales
{
  OBJECT-PROPERTIES
  {
    Date=01.01.08;
    Time=12:00:00;
  }
  PROPERTIES
  {
  }
  DATAITEMS
  {
    { PROPERTIES
      {
        DataItemTable=Table18;
      }
      SECTIONS
      {
        { PROPERTIES
          {
            SectionType=Header;
          }
          CONTROLS
          {
            { 1   ;Label        ;0    ;0    ;1500 ;423  ;Caption=Customer }
            { 2   ;Label        ;1500 ;0    ;1500 ;423  ;Caption=Name }
          }
           }
        { PROPERTIES
          {
            SectionType=Body;
          }
          CONTROLS
          {
            { 3   ;TextBox      ;0    ;0    ;1500 ;423  ;SourceExpr="No." }
          }
           }
        { PROPERTIES
          {
            SectionType=Footer;
          }
          CONTROLS
          {
            { 4   ;TextBox      ;0    ;0    ;1500 ;423  ;SourceExpr=Amount }
          }
           }
      }
       }
  }
  CODE
  {

    BEGIN
    END.
  }
}

OBJECT Codeunit 50000 Ledger Sums
{
  OBJECT-PROPERTIES
  {
    Date=01.01.08;
    Time=12:00:00;
  }
  PROPERTIES
  {
    OnRun=BEGIN
            CustLedgEntry.CALCSUMS("Remaining Amount",CustLedgEntry."Sales (LCY)");
          END;

  }
  CODE
  {
    VAR
      CustLedgEntry@1000 : Record 21;

    BEGIN
    END.
  }
}
)EXPORT";
