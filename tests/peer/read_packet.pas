{ Loads an XML data packet with Free Pascal's TBufDataset and prints every row as
  NAME=value pairs separated by ';' (NULL for a field without a value). }
program read_packet;

{$mode objfpc}{$H+}

uses
  SysUtils, DB, BufDataset, XMLDatapacketReader;

var
  Data: TBufDataset;
  Index: Integer;
  Line: string;
begin
  if ParamCount <> 1 then
  begin
    WriteLn(StdErr, 'usage: read_packet FILE');
    Halt(2);
  end;
  DefaultFormatSettings.DecimalSeparator := '.';
  Data := TBufDataset.Create(nil);
  try
    Data.LoadFromFile(ParamStr(1), dfXML);
    WriteLn('rows=', Data.RecordCount);
    Data.First;
    while not Data.EOF do
    begin
      Line := '';
      for Index := 0 to Data.FieldCount - 1 do
      begin
        if Index > 0 then
          Line := Line + ';';
        if Data.Fields[Index].IsNull then
          Line := Line + Data.Fields[Index].FieldName + '=NULL'
        else
          Line := Line + Data.Fields[Index].FieldName + '=' + Data.Fields[Index].AsString;
      end;
      WriteLn(Line);
      Data.Next;
    end;
  finally
    Data.Free;
  end;
end.
