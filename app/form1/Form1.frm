# Form1, the application's one window: every control in design order with
# its nesting. Places and sizes in twips (15 to a pixel at 96 dots per inch):
# a left column of settings 300 pixels wide, a right column with the payload
# and the log, the command buttons along the bottom. TabIndex gives the
# keyboard order: connection, strings, options, payload, log, commands.
form 0 Form Form1 events {
  Caption = "Form1";
  ClientWidth = 11400; ClientHeight = 7200;
  BorderStyle = 1; MaxButton = False;
  Frame fmeConnection {
    Left = 120; Top = 120; Width = 4500; Height = 1260;
    Caption = "Connection";
    Label lblTitle(0) {
      Left = 180; Top = 360; Width = 1200; Height = 255;
      Caption = "IP Address :";
    }
    TextBox txtIpAddress {
      Left = 1440; Top = 315; Width = 1800; Height = 315;
      TabIndex = 0;
      Text = "127.0.0.1";
      ToolTipText = "IP address of the peer device";
    }
    Label lblTitle(1) {
      Left = 180; Top = 780; Width = 1200; Height = 255;
      Caption = "Port :";
    }
    TextBox txtPort {
      Left = 1440; Top = 735; Width = 900; Height = 315;
      TabIndex = 1;
      Text = "8888";
      ToolTipText = "UDP port of the peer device";
    }
    CommandButton cmdConnect events {
      Left = 2940; Top = 705; Width = 1380; Height = 375;
      TabIndex = 2;
      Caption = "Connect";
      ToolTipText = "Connect/Disconnect the IP/Port as entered";
    }
    Shape shpConnected {
      Left = 3495; Top = 300; Width = 300; Height = 300;
      Shape = 3; FillStyle = 0; FillColor = &H000000FF;
    }
  }
  Frame fmeStrings {
    Left = 120; Top = 1470; Width = 4500; Height = 1260;
    Caption = "Send Strings";
    Label lblTitle(2) {
      Left = 180; Top = 360; Width = 2250; Height = 255;
      Caption = "Longstring Clear String :";
    }
    TextBox txtClearString {
      Left = 2490; Top = 315; Width = 1830; Height = 315;
      TabIndex = 3;
      Text = "clear";
      ToolTipText = "Text that clears the peer device's display";
    }
    Label lblTitle(3) {
      Left = 180; Top = 780; Width = 2250; Height = 255;
      Caption = "Send Test String :";
    }
    TextBox txtTestString {
      Left = 2490; Top = 735; Width = 1830; Height = 315;
      TabIndex = 4;
      Text = "Hello World!";
      ToolTipText = "String to send for UDP connection test";
    }
  }
  ActiveXControlExtender sckServer events {
    ClassId = "{248DD896-BB45-11CF-9ABC-0080C7E7B78D}";
    Hosted = hosted none { };
  }
  ActiveXControlExtender sckClient {
    ClassId = "{248DD896-BB45-11CF-9ABC-0080C7E7B78D}";
    Hosted = hosted none { };
  }
  Frame fmeDataGramOptions {
    Left = 120; Top = 2820; Width = 4500; Height = 3180;
    Caption = "Transmit/Receive Options";
    Label lblTitle(4) {
      Left = 180; Top = 360; Width = 1650; Height = 255;
      Caption = "Tx Wait State";
    }
    TextBox txtWaitState {
      Left = 1890; Top = 315; Width = 900; Height = 315;
      TabIndex = 5;
      Text = "1";
      ToolTipText = "Delay in mS between Datagram transmission";
    }
    Label lblTitle(5) {
      Left = 2880; Top = 360; Width = 900; Height = 255;
      Caption = "mS";
    }
    Label lblTitle(6) {
      Left = 180; Top = 780; Width = 1650; Height = 255;
      Caption = "Tx Packet Length";
    }
    TextBox txtPacketLen events {
      Left = 1890; Top = 735; Width = 900; Height = 315;
      TabIndex = 6;
      Text = "128";
      ToolTipText = "Max length of each datagram 'packet'";
    }
    Label lblTitle(7) {
      Left = 2880; Top = 780; Width = 900; Height = 255;
      Caption = "bytes";
    }
    CheckBox chkSTX {
      Left = 180; Top = 1170; Width = 4200; Height = 300;
      TabIndex = 7;
      Caption = "Send 'Start Of Text' (STX, [h02])";
      Value = 1;
      ToolTipText = "Prefix the Datagram packets with an 'STX' character for start of transmission flag";
    }
    CheckBox chkEOT {
      Left = 180; Top = 1500; Width = 4200; Height = 300;
      TabIndex = 8;
      Caption = "Send 'End Of Transmission' (EOT, [h04])";
      Value = 1;
      ToolTipText = "Append the Datagram packets with an 'EOT' character for end of transmission flag";
    }
    CheckBox chkChecksum {
      Left = 180; Top = 1830; Width = 4200; Height = 300;
      TabIndex = 9;
      Caption = "Send CRC-8 Checksum (Calculated)";
      Value = 1;
      ToolTipText = "Append the Datagram packets with a Checksum value for validation";
    }
    Label lblTitle(8) {
      Left = 180; Top = 2280; Width = 1650; Height = 255;
      Caption = "TimeOut";
    }
    TextBox txtTimeOut {
      Left = 1890; Top = 2235; Width = 900; Height = 315;
      TabIndex = 10;
      Text = "5000";
      ToolTipText = "Timeout value to receive a valid ACK";
    }
    Label lblTitle(9) {
      Left = 2880; Top = 2280; Width = 900; Height = 255;
      Caption = "mS";
    }
    Label lblTitle(10) {
      Left = 180; Top = 2700; Width = 1650; Height = 255;
      Caption = "Retry Attempts";
    }
    TextBox txtRetry {
      Left = 1890; Top = 2655; Width = 900; Height = 315;
      TabIndex = 11;
      Text = "3";
      ToolTipText = "Timeout value to receive a valid ACK";
    }
  }
  Frame fmeDatagram {
    Left = 4740; Top = 120; Width = 6540; Height = 2250;
    Caption = "Datagram Entry";
    TextBox txtDatagram events {
      Left = 180; Top = 330; Width = 6180; Height = 900;
      TabIndex = 12;
      Text = "";
      MultiLine = True; ScrollBars = 2;
    }
    Frame Frame1 {
      Left = 180; Top = 1290; Width = 6180; Height = 840;
      Caption = "Blah, Blah, Blah...";
      Label lblTitle(11) {
        Left = 150; Top = 270; Width = 1440; Height = 255;
        Caption = "Checksum Value";
      }
      Label lblChecksum {
        Left = 1710; Top = 270; Width = 360; Height = 255;
        Caption = "00";
        ToolTipText = "CRC-8 checksum value for the entered text";
      }
      Label lblTitle(12) {
        Left = 3000; Top = 270; Width = 1650; Height = 255;
        Caption = "DataGram Length";
      }
      Label lblDatagramLength {
        Left = 4680; Top = 270; Width = 750; Height = 255;
        Caption = "0";
        ToolTipText = "Total characters of the entered datagram text";
      }
      Label lblTitle(13) {
        Left = 5460; Top = 270; Width = 600; Height = 255;
        Caption = "bytes";
      }
      Label lblTitle(14) {
        Left = 2100; Top = 270; Width = 600; Height = 255;
        Caption = "Hex";
      }
      Label lblTitle(15) {
        Left = 150; Top = 540; Width = 1440; Height = 255;
        Caption = "Est. Packet Qty";
      }
      Label lblPacketQty {
        Left = 1710; Top = 540; Width = 750; Height = 255;
        Caption = "0";
        ToolTipText = "Estimated number of packets for entered datagram text";
      }
    }
  }
  Frame fmeProcess {
    Left = 4740; Top = 2460; Width = 6540; Height = 3540;
    Caption = "Process";
    TextBox txtProcess {
      Left = 180; Top = 330; Width = 6180; Height = 3030;
      TabIndex = 13;
      Text = "";
      MultiLine = True; ScrollBars = 2;
      Locked = True; BackColor = &H8000000F;
    }
  }
  Timer tmrTimeout events {
    Interval = 0; Enabled = False;
  }
  Frame fmeCommands {
    Left = 120; Top = 6120; Width = 11160; Height = 960;
    Caption = "Commands";
    CommandButton cmdSaveSettings events {
      Left = 180; Top = 360; Width = 2040; Height = 405;
      TabIndex = 14;
      Caption = "Save Settings";
      ToolTipText = "Save all settings to file, including IP Address and port number";
    }
    CommandButton cmdString events {
      Left = 2370; Top = 360; Width = 2040; Height = 405;
      TabIndex = 15;
      Caption = "Send Test String";
      ToolTipText = "Send the string";
    }
    CommandButton cmdClear events {
      Left = 4560; Top = 360; Width = 2040; Height = 405;
      TabIndex = 16;
      Caption = "Send Clear String";
      ToolTipText = "Send the 'Clear' string";
    }
    CommandButton cmdClearDatagram events {
      Left = 6750; Top = 360; Width = 2040; Height = 405;
      TabIndex = 17;
      Caption = "Clear Datagram Entry";
      ToolTipText = "Clear the datagram entry text box";
    }
    CommandButton cmdSendDataGram events {
      Left = 8940; Top = 360; Width = 2040; Height = 405;
      TabIndex = 18;
      Caption = "Send Datagram";
      ToolTipText = "Send the entered datagram";
    }
  }
}
